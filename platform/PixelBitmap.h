#pragma once
// Bitmaps made from pixels the portable code computed (0x00RRGGBB, top-down rows).
#include <windows.h>

#include <cstdint>
#include <vector>

namespace kelvo::win {

// A 32-bit DIB section holding the pixels; the caller owns it. nullptr on failure.
HBITMAP bitmapFromPixels(int width, int height, const std::vector<std::uint32_t>& pixels);

// A system colour stored as a negative number (0xFF000000 + index) becomes its
// current RGB value; other colours are returned as they are.
std::uint32_t resolveColor(int storedColor);

} // namespace kelvo::win
