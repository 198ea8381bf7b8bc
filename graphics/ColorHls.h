#pragma once
// Hue, luminance and saturation on the 0..240 scales of the Windows shell's
// colour functions, so that lightened and darkened rows come out exactly as
// users of the program have always seen them. Colours are 0x00BBGGRR.
#include <cstdint>

namespace kelvo {

inline constexpr int kHlsMax = 240;
// The hue reported for greys, where hue has no meaning.
inline constexpr int kHlsUndefinedHue = kHlsMax * 2 / 3;

struct Hls {
    std::uint16_t hue = 0;
    std::uint16_t luminance = 0;
    std::uint16_t saturation = 0;
};

Hls ColorRGBToHLS(std::uint32_t color);
// The parameters are 16-bit like the shell's WORDs: a luminance pushed below 0
// arrives as a large value. Channels past 255 saturate instead of wrapping, so
// such a luminance gives white rather than an arbitrary colour.
std::uint32_t ColorHLSToRGB(std::uint16_t hue, std::uint16_t luminance, std::uint16_t saturation);

// Adds delta to the luminance without clamping it first (a negative result
// wraps to 16 bits, as when it is handed to a WORD parameter).
std::uint32_t adjustLuminance(std::uint32_t color, int delta);

} // namespace kelvo
