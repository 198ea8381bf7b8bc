#include "hook/cbthook/ForegroundWatcher.h"

#include "hook/ModuleThread.h"
#include "hook/cbthook/ForegroundTracker.h"

namespace kelvo::hook {

namespace {

// Short enough that the program's button follows a window switch without a
// visible lag, long enough to cost nothing.
constexpr DWORD kPollIntervalMs = 200;
constexpr DWORD kStopTimeoutMs = 5000;
constexpr UINT kWindowEventMessage = WM_APP + 1;

constinit ForegroundWatcher instance;

// Only top-level windows of other processes are reported: the program places
// nothing on its own windows, and a child window has no title bar of its own.
ForegroundSample sampleForeground(DWORD ownProcess) {
    const HWND window = GetForegroundWindow();
    if (!window || GetAncestor(window, GA_PARENT) != GetDesktopWindow())
        return {};
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == ownProcess)
        return {};
    ForegroundSample sample{window, {}};
    if (!GetWindowRect(window, &sample.rect))
        return {};
    return sample;
}

bool windowExists(HWND window) {
    return IsWindow(window) != FALSE;
}

} // namespace

ForegroundWatcher& foregroundWatcher() {
    return instance;
}

bool ForegroundWatcher::start(HWND target) {
    target_ = target;
    if (threadRunning())
        return true;
    if (!stopRequested_)
        stopRequested_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stopRequested_ || !ResetEvent(stopRequested_.get()))
        return false;
    StartedThread started = startThreadHoldingModule(&watch, this);
    thread_ = std::move(started.handle);
    return static_cast<bool>(thread_);
}

void ForegroundWatcher::stop() {
    target_ = nullptr;
    if (!thread_)
        return;
    SetEvent(stopRequested_.get());
    WaitForSingleObject(thread_.get(), kStopTimeoutMs);
    thread_.reset();
}

bool ForegroundWatcher::threadRunning() const {
    return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

void ForegroundWatcher::watch(void* self) noexcept {
    const auto& watcher = *static_cast<ForegroundWatcher*>(self);
    const DWORD ownProcess = GetCurrentProcessId();
    try {
        ForegroundTracker tracker;
        while (WaitForSingleObject(watcher.stopRequested_.get(), kPollIntervalMs) == WAIT_TIMEOUT)
            watcher.lookOnce(tracker, ownProcess);
    } catch (...) {
        // Out of memory for the event list: the watch ends, the program goes on.
    }
}

void ForegroundWatcher::lookOnce(ForegroundTracker& tracker, DWORD ownProcess) const {
    const std::vector<WindowEvent> events =
        tracker.update(sampleForeground(ownProcess), &windowExists);
    const HWND target = target_.load();
    if (!target)
        return;
    for (const WindowEvent& event : events)
        PostMessageW(target, kWindowEventMessage, reinterpret_cast<WPARAM>(event.window),
                     static_cast<LPARAM>(event.code));
}

} // namespace kelvo::hook
