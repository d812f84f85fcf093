#include "bitmap_pixels.h"

#include <cstring>

namespace {

// 32 bits a pixel, rows from the top.
BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

Pixels PixelsOf(HBITMAP bitmap) {
    BITMAP size{};
    if (!bitmap || !GetObjectW(bitmap, sizeof size, &size) || size.bmWidth <= 0 || size.bmHeight <= 0) return {};
    Pixels pixels(size.bmWidth, size.bmHeight);
    BITMAPINFO info = TopDownInfo(pixels.width, pixels.height);
    ScopedGetDC screen(nullptr);
    if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(pixels.height), pixels.values.data(), &info,
                  DIB_RGB_COLORS) != pixels.height)
        return {};
    return pixels;
}

OwnedBitmap BitmapOf(const Pixels& pixels) {
    BITMAPINFO info = TopDownInfo(pixels.width, pixels.height);
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits) std::memcpy(bits, pixels.values.data(), pixels.values.size() * sizeof(uint32_t));
    return bitmap;
}

void DrawPixels(HDC dc, const Pixels& pixels, int x, int y) {
    BITMAPINFO info = TopDownInfo(pixels.width, pixels.height);
    StretchDIBits(dc, x, y, pixels.width, pixels.height, 0, 0, pixels.width, pixels.height, pixels.values.data(),
                  &info, DIB_RGB_COLORS, SRCCOPY);
}
