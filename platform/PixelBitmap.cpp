#include "platform/PixelBitmap.h"

#include "platform/Handles.h"

#include <cstring>

namespace kelvo::win {

HBITMAP bitmapFromPixels(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, like the pixel rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDC screen(nullptr);
    HBITMAP bitmap = CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return bitmap;
    // A 32-bit DIB stores each pixel as B, G, R, unused: the same bytes as 0x00RRGGBB.
    std::memcpy(bits, pixels.data(), static_cast<size_t>(width) * height * 4);
    return bitmap;
}

std::uint32_t resolveColor(int storedColor) {
    if (storedColor < 0)
        return static_cast<std::uint32_t>(GetSysColor(storedColor & 0xFF)) & 0xFFFFFF;
    return static_cast<std::uint32_t>(storedColor) & 0xFFFFFF;
}

} // namespace kelvo::win
