#include "picture.h"

#include <ole2.h>
#include <olectl.h>
#include <shlwapi.h>

#include <cstdint>

#include "bitmap_pixels.h"
#include "runtime.h"

Picture::Picture(Pixels pixels)
    : pixels_(std::move(pixels)),
      width_(ScreenPixels(pixels_.width)),
      height_(ScreenPixels(pixels_.height, LOGPIXELSY)) {}

std::shared_ptr<Picture> Picture::FromBitmapResource(int resourceId) {
    OwnedBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    Pixels pixels = PixelsOf(bitmap.get());
    if (pixels.values.empty()) return nullptr;
    return std::make_shared<Picture>(std::move(pixels));
}

std::shared_ptr<Picture> Picture::FromJpegResource(int resourceId) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = found ? SizeofResource(instance, found) : 0;
    if (!bytes || size == 0) return nullptr;

    IStream* stream = SHCreateMemStream(static_cast<const BYTE*>(bytes), size);
    if (!stream) return nullptr;
    IPicture* picture = nullptr;
    HRESULT loadedPicture = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                           reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loadedPicture) || !picture) return nullptr;
    // The decoded bitmap stays the picture's; its pixels are copied out.
    OLE_HANDLE handle = 0;
    short type = PICTYPE_NONE;
    Pixels pixels;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle)))
        pixels = PixelsOf(reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(handle)));
    picture->Release();
    if (pixels.values.empty()) return nullptr;
    return std::make_shared<Picture>(std::move(pixels));
}

void Picture::Render(HDC dc, const RECT& into) const {
    const int width = into.right - into.left, height = into.bottom - into.top;
    if (width == pixels_.width && height == pixels_.height) {
        DrawPixels(dc, pixels_, into.left, into.top);
        return;
    }
    if (scaled_.width != width || scaled_.height != height)
        scaled_ = ScaleSmoothly(pixels_, 0, 0, pixels_.width, pixels_.height, width, height);
    DrawPixels(dc, scaled_, into.left, into.top);
}
