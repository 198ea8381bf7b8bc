#pragma once
// A font that needs no window system: 8 pixels per ASCII character and 16 per
// double-width one, so expected widths can be worked out by hand.
#include <string_view>

namespace kelvo::test {

inline int fakeFontWidth(std::wstring_view text) {
    int width = 0;
    for (wchar_t c : text)
        width += c < 0x80 ? 8 : 16;
    return width;
}

inline constexpr int kFakeFontHeight = 13;

} // namespace kelvo::test
