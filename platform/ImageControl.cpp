#include "platform/ImageControl.h"

#include <windowsx.h>

namespace kelvo::win {

bool ImageControl::create(HWND parent, int id) { return createChild(kClassName, parent, id); }

void ImageControl::setBitmap(HBITMAP bitmap, std::uint32_t transparent) {
    icon_ = nullptr;
    bitmap_.reset(bitmap);
    transparent_ = transparent;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void ImageControl::setIcon(HICON icon) {
    bitmap_.reset();
    icon_ = icon;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void ImageControl::clear() {
    bitmap_.reset();
    icon_ = nullptr;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void ImageControl::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client{};
    GetClientRect(hwnd(), &client);
    // The parent's colour shows through: it is the window's transparency key.
    FillRect(dc, &client, parentBackground(dc));
    if (bitmap_) {
        BITMAP info{};
        GetObjectW(bitmap_.get(), sizeof(info), &info);
        HDC memory = CreateCompatibleDC(dc);
        {
            ScopedSelectObject select(memory, bitmap_.get());
            TransparentBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth,
                           info.bmHeight, transparent_);
        }
        DeleteDC(memory);
    } else if (icon_) {
        DrawIconEx(dc, 0, 0, icon_, client.right, client.bottom, 0, nullptr, DI_NORMAL);
    }
    EndPaint(hwnd(), &ps);
}

void ImageControl::notify(MouseAction action, MouseButton button, WPARAM keys, LPARAM at) {
    if (onMouse)
        onMouse({action, button, GET_X_LPARAM(at), GET_Y_LPARAM(at), keys});
}

LRESULT ImageControl::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
            notify(MouseAction::Enter, MouseButton::None, wParam, lParam);
        }
        notify(MouseAction::Move, MouseButton::None, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        // Like a picture control of a form library, the control keeps the mouse
        // while the button is held, so a drag that leaves it is still seen.
        SetCapture(hwnd());
        notify(MouseAction::Down, MouseButton::Left, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        notify(MouseAction::Down, MouseButton::Right, wParam, lParam);
        return 0;
    case WM_MBUTTONDOWN:
        notify(MouseAction::Down, MouseButton::Middle, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd())
            ReleaseCapture();
        notify(MouseAction::Up, MouseButton::Left, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        notify(MouseAction::Up, MouseButton::Right, wParam, lParam);
        return 0;
    case WM_MBUTTONUP:
        notify(MouseAction::Up, MouseButton::Middle, wParam, lParam);
        return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        notify(MouseAction::Leave, MouseButton::None, 0, 0);
        return 0;
    }
    return defaultHandling(msg, wParam, lParam);
}

} // namespace kelvo::win
