#include "graphics/ColorHls.h"
#include "graphics/RowColors.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

TEST(ColorHls, KnownColoursHaveTheirHueLuminanceAndSaturation) {
    struct Case {
        std::uint32_t color; // 0x00BBGGRR
        int hue, luminance, saturation;
    } cases[] = {
        {0x0000FF, 0, 120, 240},   // red
        {0x00FFFF, 40, 120, 240},  // yellow
        {0x00FF00, 80, 120, 240},  // green
        {0xFF0000, 160, 120, 240}, // blue
        {0xFF00FF, 200, 120, 240}, // magenta: the hue wraps below 0
        {0xFFFFFF, 160, 240, 0},   // greys report the undefined hue 160
        {0x000000, 160, 0, 0},     {0x808080, 160, 120, 0}, {0xD84B92, 180, 137, 155},
    };
    for (const Case& c : cases) {
        Hls hls = ColorRGBToHLS(c.color);
        EXPECT_EQ(hls.hue, c.hue) << std::hex << c.color;
        EXPECT_EQ(hls.luminance, c.luminance) << std::hex << c.color;
        EXPECT_EQ(hls.saturation, c.saturation) << std::hex << c.color;
    }
}

TEST(ColorHls, RoundTripsLoseOnlyWhatTheCoarseScaleCannotHold) {
    struct Case {
        std::uint32_t color, back;
    } cases[] = {
        {0x0000FF, 0x0000FF}, {0x00FF00, 0x00FF00},
        {0xFF0000, 0xFF0000}, {0xFFFFFF, 0xFFFFFF},
        {0x000000, 0x000000}, {0xC0C0C0, 0xC0C0C0},
        {0x000080, 0x000080}, {0x1CAB14, 0x1CAB14},
        {0x6D3DEF, 0x6D3DEF}, {0x12C2B0, 0x12C2B0},
        {0xF0CA15, 0xF0CA15}, {0x808080, 0x7F7F7F}, // 120 of 240 is 127.5 of 255, rounded down
        {0xD84B92, 0xD94A92},
    };
    for (const Case& c : cases) {
        Hls hls = ColorRGBToHLS(c.color);
        EXPECT_EQ(ColorHLSToRGB(hls.hue, hls.luminance, hls.saturation), c.back)
            << std::hex << c.color;
    }
}

TEST(ColorHls, LuminanceOutsideTheScaleSaturatesInsteadOfWrapping) {
    // Black darkened by 30 hands the conversion a luminance of 65506.
    EXPECT_EQ(adjustLuminance(0x000000, -30), 0xFFFFFFu);
    EXPECT_EQ(adjustLuminance(0x0A0A14, -30), 0xFFFFFFu); // chromatic as well
    EXPECT_EQ(adjustLuminance(0xFFFFFF, 30), 0xFFFFFFu);
    EXPECT_EQ(ColorHLSToRGB(0, 65535, 240), 0xFFFFFFu);
    EXPECT_EQ(ColorHLSToRGB(65535, 120, 240), 0x000000u); // a hue far off picks the low end
}

TEST(RowColors, RowBackgrounds) {
    struct Case {
        const char* what;
        std::uint32_t list;
        RowState row;
        std::uint32_t background;
    } cases[] = {
        {"plain row", 0xD84B92, {}, 0xD84B92},
        {"selected grey", 0x808080, {true, false, false}, 0x5F5F5F},
        {"selected on black comes out white, shown grey", 0x000000, {true, false, false}, 0x808080},
        {"selected running row is drawn selected", 0x808080, {true, true, false}, 0x5F5F5F},
        {"running on grey lightens", 0x808080, {false, true, false}, 0x9F9F9F},
        {"running on black lightens", 0x000000, {false, true, false}, 0x1F1F1F},
        {"running on saturated red darkens", 0x0000FF, {false, true, false}, 0x0000BF},
        {"running on the purple list", 0xD84B92, {false, true, false}, 0xE380B1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rowPaint({c.list, 0x000000}, c.row).background, c.background) << c.what;
}

TEST(RowColors, OneClickTextStandsOutFromTextAndBackground) {
    struct Case {
        const char* what;
        ListColors list;
        std::uint32_t text;
    } cases[] = {
        {"white list, black text", {0xFFFFFF, 0x000000}, 0x000064},
        {"white text turns back below white", {0x000000, 0xFFFFFF}, 0xFFFF9B},
        {"skips the background", {0x000064, 0x000000}, 0x0000C8},
        {"wraps to 0 past white", {0xFFFFFF, 0xFFFF9B}, 0x000000},
    };
    for (const Case& c : cases) {
        RowPaint paint = rowPaint(c.list, {false, false, true});
        EXPECT_EQ(paint.text, c.text) << c.what;
        EXPECT_TRUE(paint.bold) << c.what;
    }
    RowPaint plain = rowPaint({0xFFFFFF, 0x123456}, {});
    EXPECT_EQ(plain.text, 0x123456u);
    EXPECT_FALSE(plain.bold);
}

} // namespace
} // namespace kelvo
