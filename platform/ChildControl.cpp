#include "platform/ChildControl.h"

namespace kelvo::win {

bool ChildControl::createChild(const wchar_t* className, HWND parent, int id) {
    if (!registerClass({.className = className}))
        return false;
    WindowCreateArgs args;
    args.className = className;
    args.style = WS_CHILD | WS_CLIPSIBLINGS;
    args.owner = parent;
    if (!create(args))
        return false;
    SetWindowLongPtrW(hwnd(), GWLP_ID, id);
    return true;
}

void ChildControl::setBounds(int left, int top, int width, int height) {
    SetWindowPos(hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChildControl::setVisible(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE); }

bool ChildControl::visible() const { return IsWindowVisible(hwnd()) != FALSE; }

RECT ChildControl::bounds() const {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HBRUSH ChildControl::parentBackground(HDC dc) const {
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd()), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(hwnd())));
    return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

} // namespace kelvo::win
