#include "graphics/ColorHls.h"
#include "graphics/LauncherArt.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvo {
namespace {

constexpr std::uint32_t kTransparent = 0x000000;

std::uint32_t toBgr(std::uint32_t rgb) {
    return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}

TEST(LauncherArt, PicturesHaveTheirSizeAtEveryDpi) {
    for (int dpi : {96, 120, 144, 192}) {
        const int size = scaleToDpi(kButtonPictureSize, dpi);
        Picture button = renderLauncherButton(1, size);
        EXPECT_EQ(button.width, size);
        EXPECT_EQ(button.height, size);
        EXPECT_EQ(button.pixels.size(), static_cast<size_t>(size * size));
    }
    EXPECT_EQ(scaleToDpi(kButtonPictureSize, 192), 116);
    EXPECT_EQ(scaleToDpi(kButtonPictureSize, 120), 73);
    Picture bubble = renderBubble(kBubblePictureWidth, kBubblePictureHeight);
    EXPECT_EQ(bubble.width, 91);
    EXPECT_EQ(bubble.height, 107);
    EXPECT_EQ(bubble.pixels.size(), 91u * 107u);
    EXPECT_TRUE(renderBubble(0, 10).pixels.empty());
}

// Outside the disc is exactly the transparent black; inside, nothing is.
TEST(LauncherArt, ButtonsAreOpaqueDiscsOnTransparentBlack) {
    for (int size : {kButtonPictureSize, 2 * kButtonPictureSize}) {
        for (int n = 1; n <= 5; ++n) {
            Picture p = renderLauncherButton(n, size);
            const double centre = size / 2.0, radius = centre - 0.5 * size / kButtonPictureSize;
            int blackInside = 0, colouredOutside = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const double d = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
                    if (d < radius - 1 && p.at(x, y) == kTransparent)
                        ++blackInside;
                    if (d > radius + 1 && p.at(x, y) != kTransparent)
                        ++colouredOutside;
                }
            }
            EXPECT_EQ(blackInside, 0) << "launcher " << n << " at " << size;
            EXPECT_EQ(colouredOutside, 0) << "launcher " << n << " at " << size;
            EXPECT_EQ(p.at(0, 0), kTransparent);
            EXPECT_EQ(p.at(0, size - 1), kTransparent); // the key is read from here
            EXPECT_EQ(p.at(size - 1, 0), kTransparent);
            EXPECT_EQ(p.at(size - 1, size - 1), kTransparent);
        }
    }
}

TEST(LauncherArt, EachButtonIsInItsLaunchersColour) {
    struct Case {
        int launcherNo;
        const char* family;
        int hueFrom, hueTo; // on the 0..240 circle; a range may wrap past 0
    } cases[] = {
        {1, "purple", 180, 215}, {2, "green", 60, 100},       {3, "red", 230, 10},
        {4, "yellow", 28, 50},   {5, "light blue", 120, 150},
    };
    for (const Case& c : cases) {
        Picture p = renderLauncherButton(c.launcherNo, kButtonPictureSize);
        const Hls centre = ColorRGBToHLS(toBgr(p.at(29, 29)));
        const bool inRange = c.hueFrom <= c.hueTo
                                 ? centre.hue >= c.hueFrom && centre.hue <= c.hueTo
                                 : centre.hue >= c.hueFrom || centre.hue <= c.hueTo;
        EXPECT_TRUE(inRange) << c.family << ": hue " << centre.hue;
        EXPECT_GT(centre.saturation, 120) << c.family; // a colour, not a grey
    }
}

TEST(LauncherArt, BubbleIsOpaqueInsideAndTransparentAround) {
    for (int scale : {1, 2}) {
        Picture p = renderBubble(scale * kBubblePictureWidth, scale * kBubblePictureHeight);
        EXPECT_EQ(p.at(0, 0), kTransparent);
        EXPECT_EQ(p.at(p.width - 1, 0), kTransparent);
        EXPECT_EQ(p.at(0, p.height - 1), kTransparent);
        EXPECT_EQ(p.at(p.width - 1, p.height - 1), kTransparent);
        const Hls centre = ColorRGBToHLS(toBgr(p.at(p.width / 2, p.height * 2 / 5)));
        EXPECT_GT(centre.luminance, 160) << "light colours"; // and so not black
        int blackInside = 0;
        for (int y = scale * 20; y < scale * 60; ++y)
            for (int x = scale * 20; x < scale * 70; ++x)
                blackInside += p.at(x, y) == kTransparent;
        EXPECT_EQ(blackInside, 0) << scale;
    }
}

} // namespace
} // namespace kelvo
