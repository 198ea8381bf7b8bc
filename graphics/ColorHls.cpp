#include "graphics/ColorHls.h"

#include <algorithm>

namespace kelvo {
namespace {

constexpr int kRgbMax = 255;

int redOf(std::uint32_t color) {
    return static_cast<int>(color & 0xFF);
}
int greenOf(std::uint32_t color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
int blueOf(std::uint32_t color) {
    return static_cast<int>((color >> 16) & 0xFF);
}

std::uint32_t packChannels(std::int64_t red, std::int64_t green, std::int64_t blue) {
    auto channel = [](std::int64_t value) {
        return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, kRgbMax));
    };
    return channel(red) | channel(green) << 8 | channel(blue) << 16;
}

// One of the three channels of a chromatic colour, on the 0..240 scale; hue
// arrives shifted by a third of the circle for red and blue. 64-bit because
// an out-of-range luminance makes the products exceed 32 bits.
std::int64_t hueToChannel(std::int64_t low, std::int64_t high, std::int64_t hue) {
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    constexpr std::int64_t sixth = kHlsMax / 6;
    if (hue < sixth)
        return low + ((high - low) * hue + kHlsMax / 12) / sixth;
    if (hue < kHlsMax / 2)
        return high;
    if (hue < kHlsMax * 2 / 3)
        return low + ((high - low) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / sixth;
    return low;
}

std::int64_t toRgbScale(std::int64_t value) {
    return (value * kRgbMax + kHlsMax / 2) / kHlsMax;
}

} // namespace

Hls ColorRGBToHLS(std::uint32_t color) {
    const int red = redOf(color), green = greenOf(color), blue = blueOf(color);
    const int maxChannel = std::max({red, green, blue});
    const int minChannel = std::min({red, green, blue});
    const int sum = maxChannel + minChannel;
    const int spread = maxChannel - minChannel;

    Hls hls;
    const int luminance = (sum * kHlsMax + kRgbMax) / (2 * kRgbMax);
    hls.luminance = static_cast<std::uint16_t>(luminance);
    if (spread == 0) {
        hls.hue = kHlsUndefinedHue;
        return hls;
    }

    const int saturation = luminance <= kHlsMax / 2
                               ? (spread * kHlsMax + sum / 2) / sum
                               : (spread * kHlsMax + (2 * kRgbMax - sum) / 2) / (2 * kRgbMax - sum);
    hls.saturation = static_cast<std::uint16_t>(saturation);

    auto distanceFromMax = [&](int channel) {
        return ((maxChannel - channel) * (kHlsMax / 6) + spread / 2) / spread;
    };
    const int redDelta = distanceFromMax(red);
    const int greenDelta = distanceFromMax(green);
    const int blueDelta = distanceFromMax(blue);
    int hue;
    if (red == maxChannel)
        hue = blueDelta - greenDelta;
    else if (green == maxChannel)
        hue = kHlsMax / 3 + redDelta - blueDelta;
    else
        hue = kHlsMax * 2 / 3 + greenDelta - redDelta;
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    hls.hue = static_cast<std::uint16_t>(hue);
    return hls;
}

std::uint32_t ColorHLSToRGB(std::uint16_t hue, std::uint16_t luminance, std::uint16_t saturation) {
    const std::int64_t lum = luminance, sat = saturation;
    if (sat == 0) {
        const std::int64_t grey = lum * kRgbMax / kHlsMax;
        return packChannels(grey, grey, grey);
    }
    const std::int64_t high = lum <= kHlsMax / 2 ? (lum * (kHlsMax + sat) + kHlsMax / 2) / kHlsMax
                                                 : lum + sat - (lum * sat + kHlsMax / 2) / kHlsMax;
    const std::int64_t low = 2 * lum - high;
    return packChannels(toRgbScale(hueToChannel(low, high, hue + kHlsMax / 3)),
                        toRgbScale(hueToChannel(low, high, hue)),
                        toRgbScale(hueToChannel(low, high, hue - kHlsMax / 3)));
}

std::uint32_t adjustLuminance(std::uint32_t color, int delta) {
    const Hls hls = ColorRGBToHLS(color);
    return ColorHLSToRGB(hls.hue, static_cast<std::uint16_t>(hls.luminance + delta),
                         hls.saturation);
}

} // namespace kelvo
