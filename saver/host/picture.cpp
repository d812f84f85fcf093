#include "picture.h"

#include <ole2.h>
#include <olectl.h>
#include <shlwapi.h>

#include "runtime.h"

namespace {

constexpr long kHimetricPerInch = 2540;

}  // namespace

Picture::Picture(IPicture* picture) : picture_(picture) {
    picture_->get_Width(&himetricWidth_);
    picture_->get_Height(&himetricHeight_);
    width_ = MulDiv(himetricWidth_, ScreenDpi(LOGPIXELSX), kHimetricPerInch);
    height_ = MulDiv(himetricHeight_, ScreenDpi(LOGPIXELSY), kHimetricPerInch);
}

Picture::~Picture() { picture_->Release(); }

std::shared_ptr<Picture> Picture::FromBitmapResource(int resourceId) {
    HANDLE bitmap = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION);
    if (!bitmap) return nullptr;
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = static_cast<HBITMAP>(bitmap);
    IPicture* picture = nullptr;
    // The picture owns the bitmap from here on.
    if (FAILED(OleCreatePictureIndirect(&description, IID_IPicture, TRUE, reinterpret_cast<void**>(&picture)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return std::shared_ptr<Picture>(new Picture(picture));
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
    return std::shared_ptr<Picture>(new Picture(picture));
}

void Picture::Render(HDC dc, const RECT& into) const {
    // The source rectangle runs upwards from the bottom in HIMETRIC units.
    picture_->Render(dc, into.left, into.top, into.right - into.left, into.bottom - into.top, 0, himetricHeight_,
                     himetricWidth_, -himetricHeight_, nullptr);
}
