// Writes the launcher pictures at 96 and 192 dpi as 24-bit BMP files, for a
// look at them while they are being drawn:  kelvo_art_preview <folder>
#include "graphics/LauncherArt.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> encodeBmp24(const kelvo::Picture& picture) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(picture.height);
    constexpr std::uint32_t headerBytes = 14 + 40;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putLittleEndian(out, headerBytes + imageBytes, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, headerBytes, 4);
    putLittleEndian(out, 40, 4);
    putLittleEndian(out, static_cast<std::uint32_t>(picture.width), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(picture.height), 4); // bottom-up
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, 24, 2);
    putLittleEndian(out, 0, 4); // BI_RGB
    putLittleEndian(out, imageBytes, 4);
    putLittleEndian(out, 3780, 4); // 96 dpi
    putLittleEndian(out, 3780, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 0, 4);
    for (int y = picture.height - 1; y >= 0; --y) {
        const size_t rowStart = out.size();
        for (int x = 0; x < picture.width; ++x)
            putLittleEndian(out, picture.at(x, y), 3); // blue, green, red
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvo_art_preview <output folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    bool ok = true;
    for (int scale = 1; scale <= 2; ++scale) {
        const int dpi = 96 * scale;
        const std::string suffix = "@" + std::to_string(scale) + "x.bmp";
        for (int n = 1; n <= 5; ++n) {
            kelvo::Picture button =
                kelvo::renderLauncherButton(n, kelvo::scaleToDpi(kelvo::kButtonPictureSize, dpi));
            ok &= writeFile(folder / ("button" + std::to_string(n) + suffix), encodeBmp24(button));
        }
        kelvo::Picture bubble =
            kelvo::renderBubble(kelvo::scaleToDpi(kelvo::kBubblePictureWidth, dpi),
                                kelvo::scaleToDpi(kelvo::kBubblePictureHeight, dpi));
        ok &= writeFile(folder / ("bubble" + suffix), encodeBmp24(bubble));
    }
    if (!ok)
        std::fprintf(stderr, "could not write every picture into %s\n", argv[1]);
    return ok ? 0 : 1;
}
