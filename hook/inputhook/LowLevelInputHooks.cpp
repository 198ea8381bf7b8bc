#include "hook/inputhook/LowLevelInputHooks.h"

#include "hook/ModuleThread.h"

namespace kelvo::hook {

namespace {

// Generous: installing two hooks takes microseconds, but a loaded machine may
// not schedule the new thread at once.
constexpr DWORD kStartTimeoutMs = 5000;
constexpr DWORD kStopTimeoutMs = 5000;
constexpr DWORD kQuitRetryMs = 50;

constinit LowLevelInputHooks instance;

} // namespace

LowLevelInputHooks& lowLevelInputHooks() {
    return instance;
}

bool LowLevelInputHooks::start(const HookTarget& target) {
    mouseMessage_ = target.mouseMessage;
    keyMessage_ = target.keyMessage;
    window_ = target.window;
    if (!threadRunning()) {
        hooksReady_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!hooksReady_)
            return false;
        StartedThread started = startThreadHoldingModule(&serviceHooks, this);
        if (!started.handle)
            return false;
        thread_ = std::move(started.handle);
        threadId_ = started.id;
        // The thread also ends early when it could install neither hook.
        const HANDLE waits[] = {hooksReady_.get(), thread_.get()};
        WaitForMultipleObjects(2, waits, FALSE, kStartTimeoutMs);
    }
    return keyboardHook_.load() && mouseHook_.load();
}

void LowLevelInputHooks::stop() {
    window_ = nullptr;
    if (!thread_)
        return;
    askThreadToQuit();
    WaitForSingleObject(thread_.get(), kStopTimeoutMs);
    thread_.reset();
    threadId_ = 0;
}

bool LowLevelInputHooks::threadRunning() const {
    return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

void LowLevelInputHooks::askThreadToQuit() const {
    // The post fails only while the thread has not yet created its message
    // queue (a start that timed out); it is retried until the thread can take it.
    for (DWORD waited = 0; waited < kStopTimeoutMs; waited += kQuitRetryMs) {
        if (PostThreadMessageW(threadId_, WM_QUIT, 0, 0))
            return;
        if (WaitForSingleObject(thread_.get(), kQuitRetryMs) != WAIT_TIMEOUT)
            return;
    }
}

void LowLevelInputHooks::serviceHooks(void* self) noexcept {
    auto& hooks = *static_cast<LowLevelInputHooks*>(self);
    MSG msg;
    // Creates the queue before start returns, so that stop's WM_QUIT cannot be lost.
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    // All input of the desktop waits for the hook procedures: do not let busy
    // threads of normal priority delay them.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    hooks.translator_ = {};
    hooks.installHooks();
    SetEvent(hooks.hooksReady_.get());
    if (!hooks.keyboardHook_.load() && !hooks.mouseHook_.load())
        return;
    // The hook procedures are called from inside this loop.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    hooks.removeHooks();
}

void LowLevelInputHooks::installHooks() {
    const HMODULE module = thisModule();
    keyboardHook_ = SetWindowsHookExW(WH_KEYBOARD_LL, &onKeyboardEvent, module, 0);
    mouseHook_ = SetWindowsHookExW(WH_MOUSE_LL, &onMouseEvent, module, 0);
}

void LowLevelInputHooks::removeHooks() {
    if (const HHOOK mouse = mouseHook_.exchange(nullptr))
        UnhookWindowsHookEx(mouse);
    if (const HHOOK keyboard = keyboardHook_.exchange(nullptr))
        UnhookWindowsHookEx(keyboard);
}

LRESULT CALLBACK LowLevelInputHooks::onKeyboardEvent(int code, WPARAM wParam,
                                                     LPARAM lParam) noexcept {
    if (code == HC_ACTION)
        instance.forwardKey(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam));
    return CallNextHookEx(instance.keyboardHook_.load(), code, wParam, lParam);
}

LRESULT CALLBACK LowLevelInputHooks::onMouseEvent(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION)
        instance.forwardMouse(wParam);
    return CallNextHookEx(instance.mouseHook_.load(), code, wParam, lParam);
}

void LowLevelInputHooks::forwardKey(const KBDLLHOOKSTRUCT& event) {
    // Translated even when nothing is posted, so that the key states stay right.
    const HookMessageParams params = translator_.translate(event);
    if (const HWND window = window_.load())
        PostMessageW(window, keyMessage_.load(), params.wParam, params.lParam);
}

void LowLevelInputHooks::forwardMouse(WPARAM message) const {
    const HookMessageParams params = classicMouseParams(message);
    if (const HWND window = window_.load())
        PostMessageW(window, mouseMessage_.load(), params.wParam, params.lParam);
}

} // namespace kelvo::hook
