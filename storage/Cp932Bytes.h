#pragma once
// Byte structure of code page 932 shared by both codec twins, so that broken
// input decodes alike on every platform whatever the converter underneath does.

#include <cstddef>

namespace kelvo::cp932 {

inline constexpr wchar_t kInvalidChar = 0x30FB; // '・', the code page's own default

constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool isTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// A lead byte followed by anything but a trail byte stands alone (and becomes
// kInvalidChar); the byte after it is then read on its own, so a broken pair
// never eats a line break or an '='.
constexpr bool isLoneLeadByte(const unsigned char* bytes, std::size_t size, std::size_t i) {
    return isLeadByte(bytes[i]) && (i + 1 >= size || !isTrailByte(bytes[i + 1]));
}

// Single bytes outside the JIS set that Windows maps one to one.
struct SingleByteMapping {
    unsigned char byte;
    wchar_t ch;
};
inline constexpr SingleByteMapping kWindowsSingleBytes[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3},
};

} // namespace kelvo::cp932
