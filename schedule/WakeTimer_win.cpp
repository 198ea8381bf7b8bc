#include "schedule/WakeTimer_win.h"

#include "schedule/ScheduleStore.h"

namespace kelvo {

std::optional<LARGE_INTEGER> wakeDueTime(DateTime localTime) {
    const DateParts parts = decodeDateTime(localTime);
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(parts.year);
    local.wMonth = static_cast<WORD>(parts.month);
    local.wDay = static_cast<WORD>(parts.day);
    local.wHour = static_cast<WORD>(parts.hour);
    local.wMinute = static_cast<WORD>(parts.minute);
    local.wSecond = static_cast<WORD>(parts.second);
    local.wMilliseconds = static_cast<WORD>(parts.millisecond);
    SYSTEMTIME utc{};
    FILETIME due{};
    if (parts.year < 1601 || !TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !SystemTimeToFileTime(&utc, &due))
        return std::nullopt;
    LARGE_INTEGER value{};
    value.LowPart = due.dwLowDateTime;
    value.HighPart = static_cast<LONG>(due.dwHighDateTime);
    return value;
}

// --- TRedumeThread ---

TRedumeThread::TRedumeThread(HANDLE timer, HWND window, UINT message, WPARAM token)
    : timer_(timer), window_(window), message_(message), token_(token),
      stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (stopEvent_)
        thread_.reset(CreateThread(nullptr, 0, &TRedumeThread::ThreadProc, this, 0, nullptr));
}

TRedumeThread::~TRedumeThread() {
    Stop();
}

void TRedumeThread::Stop() {
    if (!thread_)
        return;
    SetEvent(stopEvent_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
}

DWORD WINAPI TRedumeThread::ThreadProc(void* self) noexcept {
    auto* thread = static_cast<TRedumeThread*>(self);
    // The stop event comes first: when both are signalled the thread is being
    // replaced, and a message for a wake-up that no longer exists would only
    // mislead the user-interface thread.
    const HANDLE waits[] = {thread->stopEvent_.get(), thread->timer_};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
        PostMessageW(thread->window_, thread->message_, thread->token_, 0);
    return 0;
}

// --- WakeTimer ---

void WakeTimer::SetNotifyTarget(HWND window, UINT message) {
    window_ = window;
    message_ = message;
}

bool WakeTimer::ArmWakeTimer(DateTime at) {
    armedWakeTime_ = at;
    EndWait();
    const std::optional<LARGE_INTEGER> due = wakeDueTime(at);
    if (!timer_)
        timer_.reset(CreateWaitableTimerW(nullptr, FALSE, kWakeTimerName));
    // The last argument asks the system to wake the computer when the timer
    // fires; a system that cannot still arms it and only reports so.
    if (due && timer_ && SetWaitableTimer(timer_.get(), &*due, 0, nullptr, nullptr, TRUE)) {
        thread_ = std::make_unique<TRedumeThread>(timer_.get(), window_, message_, ++token_);
        wakeTimerSet_ = thread_->Started();
    }
    if (!wakeTimerSet_) {
        Cancel();
        armedWakeTime_ = at;
    }
    return wakeTimerSet_;
}

void WakeTimer::Cancel() {
    if (timer_)
        CancelWaitableTimer(timer_.get());
    EndWait();
    // Closing the last handle removes the named timer, so nothing of this
    // program's wake-up is left in the system.
    timer_.reset();
    armedWakeTime_ = 0;
}

void WakeTimer::EndWait() {
    thread_.reset();
    wakeTimerSet_ = false;
}

void WakeTimer::ThreadEnd(WPARAM token) {
    if (token != token_ || !thread_)
        return;
    EndWait();
    timer_.reset();
}

bool WakeTimer::CarryOut(const WakeTimerDecision& decision) {
    switch (decision.action) {
    case WakeTimerAction::Keep:
        return true;
    case WakeTimerAction::Forget:
        armedWakeTime_ = 0;
        return true;
    case WakeTimerAction::Cancel:
        Cancel();
        return true;
    case WakeTimerAction::Arm:
        return ArmWakeTimer(decision.armAt);
    }
    return true;
}

ScheduleWakeResult ArmScheduleWakeTimer(WakeTimer& timer, const ScheduleStore& store,
                                        DateTime powerWakeTime, DateTime now) {
    const ScheduleWakePlan plan = ArmScheduleWakeTimer(store.Schedules, store.RedumeWaitTime,
                                                       timer.State(powerWakeTime), now);
    return {plan.scheduleWakeTime, !timer.CarryOut(plan.decision)};
}

} // namespace kelvo
