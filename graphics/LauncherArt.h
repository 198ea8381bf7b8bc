#pragma once
// The program's own pictures, drawn in code at any size so the bitmaps stay
// crisp at every dpi: the round launcher buttons and the bubble shown while a
// list is open. Black (0) is the transparent colour of both: everything
// outside the shape is exactly black and nothing inside is.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvo {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB (DIB order), top-down rows

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Sizes at 96 dpi.
inline constexpr int kButtonPictureSize = 58;
inline constexpr int kBubblePictureWidth = 91;
inline constexpr int kBubblePictureHeight = 107;

// A 96-dpi length at another dpi, rounded to the nearest pixel.
int scaleToDpi(int length96, int dpi);

// The shaded disc of launcher 1 (purple), 2 (green), 3 (red), 4 (yellow) or
// 5 (light blue); other numbers take the nearest of these.
Picture renderLauncherButton(int launcherNo, int size);
Picture renderBubble(int width, int height);

} // namespace kelvo
