#include "graphics/RowColors.h"

#include "graphics/ColorHls.h"

namespace kelvo {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGrey = 0x808080;
constexpr int kRowLuminanceStep = 30;
// Strongly saturated colours barely brighten, so they are darkened instead to
// keep a running row distinguishable.
constexpr int kSaturationThatDarkens = 221;
constexpr std::uint32_t kOneClickShift = 100;

} // namespace

std::uint32_t selectedRowBackground(std::uint32_t listBackground) {
    std::uint32_t darker = adjustLuminance(listBackground, -kRowLuminanceStep);
    // Darkening a very dark list wraps the luminance round to white, which
    // would hide white text; grey stays readable on any list.
    return darker >= kWhite ? kGrey : darker;
}

std::uint32_t runningRowBackground(std::uint32_t listBackground) {
    const bool brightensWell = ColorRGBToHLS(listBackground).saturation < kSaturationThatDarkens;
    return adjustLuminance(listBackground, brightensWell ? kRowLuminanceStep : -kRowLuminanceStep);
}

std::uint32_t oneClickTextColor(const ListColors& list) {
    std::uint32_t color = list.text + kOneClickShift;
    if (color > kWhite)
        color -= 2 * kOneClickShift;
    // The marked text must differ from both the plain text and the row.
    while (color == list.text || color == list.background) {
        color += kOneClickShift;
        if (color > kWhite)
            color = 0;
    }
    return color;
}

RowPaint rowPaint(const ListColors& list, const RowState& row) {
    RowPaint paint{list.background, list.text, false};
    if (row.selected)
        paint.background = selectedRowBackground(list.background);
    else if (row.running)
        paint.background = runningRowBackground(list.background);
    if (row.oneClick) {
        paint.text = oneClickTextColor(list);
        paint.bold = true;
    }
    return paint;
}

} // namespace kelvo
