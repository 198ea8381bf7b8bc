#pragma once
// The mouse and keyboard hooks of the library and the thread that services them.
//
// The hooks are low-level hooks (WH_MOUSE_LL, WH_KEYBOARD_LL) serviced by a
// thread of this library, not the classic system-wide WH_MOUSE and WH_KEYBOARD
// hooks, for three reasons:
//  - A classic global hook makes Windows load this library into every process
//    that receives input, and it reaches only processes of the library's own
//    bitness, so 64-bit programs would never be seen. A low-level hook runs in
//    this process only and sees the input of the whole desktop.
//  - Under Wine, classic global hooks are not called for other processes at all.
//  - A low-level hook is called on the thread that installed it, and all input
//    of the desktop waits for it. Installed on the program's user-interface
//    thread, which deliberately blocks in several places, it would freeze the
//    mouse and keyboard whenever that thread is busy; a thread that does nothing
//    but service the hooks answers at once.
// The hook procedures translate each event into the parameters the classic hooks
// would have given (KeystrokeTranslation.h), so the program reads the same
// messages either way, post them and pass the event on; they never wait.
#include "hook/HookHandles.h"
#include "hook/inputhook/KeystrokeTranslation.h"

#include <atomic>

namespace kelvo::hook {

struct HookTarget {
    HWND window;
    UINT mouseMessage;
    UINT keyMessage;
};

class LowLevelInputHooks {
  public:
    constexpr LowLevelInputHooks() = default;
    LowLevelInputHooks(const LowLevelInputHooks&) = delete;
    LowLevelInputHooks& operator=(const LowLevelInputHooks&) = delete;

    // Points the hooks at `target` and starts the servicing thread unless it
    // runs already; true when both hooks are installed. The caller serialises
    // start and stop.
    bool start(const HookTarget& target);
    // Removes the hooks and ends the thread; nothing is posted once it returns.
    void stop();

    HHOOK keyboardHook() const { return keyboardHook_.load(); }
    HHOOK mouseHook() const { return mouseHook_.load(); }

  private:
    static void serviceHooks(void* self) noexcept;
    static LRESULT CALLBACK onKeyboardEvent(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK onMouseEvent(int code, WPARAM wParam, LPARAM lParam) noexcept;

    void installHooks();
    void removeHooks();
    bool threadRunning() const;
    void askThreadToQuit() const;
    void forwardKey(const KBDLLHOOKSTRUCT& event);
    void forwardMouse(WPARAM message) const;

    // Written by start and stop, read by the hook procedures.
    std::atomic<HWND> window_ = nullptr;
    std::atomic<UINT> mouseMessage_ = 0;
    std::atomic<UINT> keyMessage_ = 0;
    // Written by the servicing thread, read by start.
    std::atomic<HHOOK> keyboardHook_ = nullptr;
    std::atomic<HHOOK> mouseHook_ = nullptr;
    // Used by the servicing thread only.
    KeystrokeTranslator translator_;
    // Used by start and stop only.
    UniqueHandle thread_;
    DWORD threadId_ = 0;
    UniqueHandle hooksReady_;
};

// The one instance of the process; the hook procedures have no other way to
// reach their state.
LowLevelInputHooks& lowLevelInputHooks();

} // namespace kelvo::hook
