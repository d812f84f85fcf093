#include "image.h"

void Image::SetPicture(std::shared_ptr<Picture> picture) {
    picture_ = std::move(picture);
    Refresh();
}

void Image::SetStretch(bool stretch) {
    stretch_ = stretch;
    Refresh();
}

void Image::Draw(HDC dc) const {
    if (!picture_) return;
    const RECT& area = bounds();
    if (stretch_) {
        picture_->Render(dc, area);
        return;
    }
    int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    picture_->Render(dc, RECT{area.left, area.top, area.left + picture_->width(), area.top + picture_->height()});
    RestoreDC(dc, saved);
}
