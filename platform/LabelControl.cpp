#include "platform/LabelControl.h"

namespace kelvo::win {
namespace {
COLORREF toColorRef(std::uint32_t color) { return static_cast<COLORREF>(color & 0xFFFFFF); }
} // namespace

bool LabelControl::create(HWND parent, int id) { return createChild(kClassName, parent, id); }

void LabelControl::setCaption(const std::wstring& caption) {
    caption_ = caption;
    SetWindowTextW(hwnd(), caption.c_str()); // readable by accessibility tools
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void LabelControl::setFont(HFONT font) {
    font_.reset(font);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void LabelControl::setStyle(const LabelStyle& style) {
    style_ = style;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

int LabelControl::textHeightFor(int width) const {
    WindowDC dc(hwnd());
    ScopedSelectObject select(dc.get(), font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, width, 0};
    UINT flags = DT_CALCRECT | DT_CENTER | DT_NOPREFIX | (style_.wordWrap ? DT_WORDBREAK : 0);
    DrawTextW(dc.get(), caption_.c_str(), static_cast<int>(caption_.size()), &r, flags);
    return r.bottom - r.top;
}

void LabelControl::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (style_.transparentBack) {
        FillRect(dc, &client, parentBackground(dc));
    } else {
        UniqueGdiObject brush(CreateSolidBrush(toColorRef(style_.backColor)));
        FillRect(dc, &client, static_cast<HBRUSH>(brush.get()));
    }
    ScopedSelectObject select(dc, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, toColorRef(style_.textColor));
    UINT flags = DT_CENTER | DT_NOPREFIX | (style_.wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &client, flags);
    EndPaint(hwnd(), &ps);
}

LRESULT LabelControl::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        return HTTRANSPARENT; // clicks fall through to the window underneath
    }
    return defaultHandling(msg, wParam, lParam);
}

} // namespace kelvo::win
