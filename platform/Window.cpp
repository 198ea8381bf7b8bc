#include "platform/Window.h"

#include "platform/UnexpectedError.h"

namespace kelvo::win {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::registerClass(const WindowClassArgs& args) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = args.style;
    wc.lpfnWndProc = &Window::windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = args.icon;
    wc.hIconSm = args.smallIcon;
    wc.hCursor = args.cursor ? args.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = args.background;
    wc.lpszClassName = args.className;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Window::create(const WindowCreateArgs& args) {
    HWND hwnd = CreateWindowExW(args.exStyle, args.className, args.title.c_str(), args.style,
                                args.x, args.y, args.width, args.height, args.owner, nullptr,
                                GetModuleHandleW(nullptr), this);
    return hwnd != nullptr;
}

LRESULT Window::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return defaultHandling(msg, wParam, lParam);
}

LRESULT Window::defaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->handleMessage(msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's dispatcher.
        swallowUnexpectedError("window procedure");
        result = DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

} // namespace kelvo::win
