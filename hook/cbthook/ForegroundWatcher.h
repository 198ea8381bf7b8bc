#pragma once
// The thread of the library that follows the foreground window and posts its
// events to the program.
//
// It polls (GetForegroundWindow, GetWindowRect, IsWindow a few times a second)
// instead of hooking window events, because neither kind of hook reaches other
// processes here: under Wine, out-of-context WinEvent hooks deliver only object
// creation across processes and classic global hooks are not called for other
// processes at all; on Windows a global hook would also have to be injected into
// every process and reach only those of its own bitness. The three calls only
// read window-manager state, so a poll costs next to nothing and never waits for
// another program.
#include "hook/HookHandles.h"

#include <atomic>

namespace kelvo::hook {

class ForegroundTracker;

class ForegroundWatcher {
  public:
    constexpr ForegroundWatcher() = default;
    ForegroundWatcher(const ForegroundWatcher&) = delete;
    ForegroundWatcher& operator=(const ForegroundWatcher&) = delete;

    // Posts to `target` from now on and starts the thread unless it runs
    // already; true when it runs. The caller serialises start and stop.
    bool start(HWND target);
    // Ends the thread; nothing is posted once it returns.
    void stop();

  private:
    static void watch(void* self) noexcept;
    bool threadRunning() const;
    void lookOnce(ForegroundTracker& tracker, DWORD ownProcess) const;

    std::atomic<HWND> target_ = nullptr;
    UniqueHandle thread_;
    // Kept for the life of the library: a thread that outlived a stop's time-out
    // still waits on a valid handle.
    UniqueHandle stopRequested_;
};

ForegroundWatcher& foregroundWatcher();

} // namespace kelvo::hook
