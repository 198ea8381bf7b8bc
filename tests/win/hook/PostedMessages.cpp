#include "PostedMessages.h"

#include <algorithm>

namespace kelvo::test {

namespace {

constexpr wchar_t kSinkClassName[] = L"KelvoHookTestSink";
constexpr DWORD kPumpSliceMs = 20;

void registerSinkClass(WNDPROC windowProc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kSinkClassName;
    RegisterClassW(&wc); // fails harmlessly when the class exists already
}

} // namespace

MessageSink::MessageSink() {
    registerSinkClass(&windowProc);
    hwnd_ = CreateWindowExW(0, kSinkClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageSink::~MessageSink() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

std::vector<PostedMessage> MessageSink::received(UINT message) const {
    std::vector<PostedMessage> matching;
    std::copy_if(received_.begin(), received_.end(), std::back_inserter(matching),
                 [&](const PostedMessage& m) { return m.message == message; });
    return matching;
}

bool MessageSink::waitFor(UINT message, const std::function<bool(const PostedMessage&)>& match,
                          std::size_t count, DWORD timeoutMs) {
    return waitUntil(
        [&] {
            const std::vector<PostedMessage> arrived = received(message);
            return static_cast<std::size_t>(std::count_if(arrived.begin(), arrived.end(), match)) >=
                   count;
        },
        timeoutMs);
}

LRESULT CALLBACK MessageSink::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Everything at or above WM_APP is what the libraries post (their own
    // WM_APP + 1 and registered messages); the rest is the window's own business.
    if (msg >= WM_APP) {
        if (auto* sink = reinterpret_cast<MessageSink*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            try {
                sink->received_.push_back({msg, wParam, lParam});
            } catch (...) {
                // Out of memory: the waiting test fails on its time-out instead.
            }
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void pumpPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        pumpPendingMessages();
        if (condition())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPumpSliceMs, QS_ALLINPUT);
    }
}

} // namespace kelvo::test
