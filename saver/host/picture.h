// A picture held by image controls: a bitmap or a JPEG from the program's
// resources (the JPEG decoded by the system's picture loader). Our
// pictures are drawn for 96 dots per inch; on a denser screen they grow
// with it, scaled smoothly. Image controls share one picture by holding
// the same object.
#pragma once

#include <windows.h>

#include <memory>

#include "smooth_scale.h"

class Picture {
public:
    explicit Picture(Pixels pixels);

    // Null when the resource is missing or cannot be decoded.
    static std::shared_ptr<Picture> FromBitmapResource(int resourceId);
    static std::shared_ptr<Picture> FromJpegResource(int resourceId);

    // Size in pixels at the screen's dots per inch.
    int width() const { return width_; }
    int height() const { return height_; }
    // Draws the whole picture into the rectangle, scaled smoothly to fill it.
    void Render(HDC dc, const RECT& into) const;

private:
    Pixels pixels_;
    int width_ = 0, height_ = 0;
    mutable Pixels scaled_;  // at the size last drawn, kept for the next paint
};
