#pragma once
// The program's one wake-up: a named system waitable timer armed to wake the
// computer from sleep, standby or hibernation, and the thread that waits on it
// so the program knows whether a wake-up is still pending. Item schedules and
// the power schedule share it; whoever arms it last decides the instant.
#include "platform/Handles.h"
#include "platform/LocalClock.h"
#include "schedule/ScheduleEvaluation.h"
#include "storage/DateTime.h"

#include <memory>
#include <optional>

namespace kelvo {

struct ScheduleStore;

// Every arming opens the timer by this name, so arming again moves the one
// wake-up instead of adding a second.
inline constexpr const wchar_t* kWakeTimerName = L"Redume_KelvoLauncher_Timer";

// The absolute due time the system timer wants for a local date-time: UTC in
// 100-nanosecond units since 1601, converted with the time zone rules in force
// on that date (so a wake-up across a daylight-saving change still comes at the
// local hour). Nothing when the date cannot be converted.
std::optional<LARGE_INTEGER> wakeDueTime(DateTime localTime);

// The thread that waits on an armed timer. When the timer fires it posts
// `message` with `token` as wParam to `window`, so the user-interface thread
// learns of it without the thread touching any of its state; when it is
// stopped first it posts nothing. Destroying it stops it and waits for its end.
class TRedumeThread {
  public:
    TRedumeThread(HANDLE timer, HWND window, UINT message, WPARAM token);
    ~TRedumeThread();
    TRedumeThread(const TRedumeThread&) = delete;
    TRedumeThread& operator=(const TRedumeThread&) = delete;

    bool Started() const { return static_cast<bool>(thread_); }
    // Ends the wait and joins the thread.
    void Stop();

  private:
    static DWORD WINAPI ThreadProc(void* self) noexcept;

    HANDLE timer_;
    HWND window_;
    UINT message_;
    WPARAM token_;
    win::UniqueHandle stopEvent_;
    win::UniqueHandle thread_;
};

// The wake timer with its waiting thread; lives on the user-interface thread.
class WakeTimer {
  public:
    WakeTimer() = default;
    ~WakeTimer() { Cancel(); }
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;

    // The window whose procedure hands `message` on to ThreadEnd.
    void SetNotifyTarget(HWND window, UINT message);

    // Arms the timer for `at` (local), replacing any earlier wake-up. False
    // when the system refuses; nothing is armed then, but ArmedWakeTime still
    // names the instant that was asked for, as the power schedule reports it.
    bool ArmWakeTimer(DateTime at);
    // Cancels the wake-up, ends the waiting thread and lets the named timer go.
    void Cancel();
    // The waiting thread's message arrived. A message from a thread that an
    // arming since replaced is ignored: its wake-up no longer exists.
    void ThreadEnd(WPARAM token);
    // Carries out what decideWakeTimer chose. False only when an Arm failed.
    bool CarryOut(const WakeTimerDecision& decision);

    DateTime ArmedWakeTime() const { return armedWakeTime_; }
    bool WakeTimerSet() const { return wakeTimerSet_; }
    WakeTimerState State(DateTime powerWakeTime) const {
        return {powerWakeTime, armedWakeTime_, wakeTimerSet_};
    }

  private:
    void EndWait();

    HWND window_ = nullptr;
    UINT message_ = 0;
    win::UniqueHandle timer_;
    std::unique_ptr<TRedumeThread> thread_;
    WPARAM token_ = 0; // tells the current thread's message from older ones
    DateTime armedWakeTime_ = 0;
    bool wakeTimerSet_ = false;
};

struct ScheduleWakeResult {
    DateTime scheduleWakeTime = 0; // the new ScheduleWakeTime; 0 = none
    bool armFailed = false;        // the timer had to be armed and could not be
};

// Aims the wake timer at the earliest wake-up the item schedules need, after
// their next times were computed; a power schedule wake-up that comes first is
// left alone.
ScheduleWakeResult ArmScheduleWakeTimer(WakeTimer& timer, const ScheduleStore& store,
                                        DateTime powerWakeTime, DateTime now);

} // namespace kelvo
