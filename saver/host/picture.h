// A picture held by image controls: a bitmap or a JPEG from the program's
// resources, decoded by the system's picture loader. Image controls share
// one picture by holding the same object.
#pragma once

#include <windows.h>

#include <memory>

struct IPicture;

class Picture {
public:
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Null when the resource is missing or cannot be decoded.
    static std::shared_ptr<Picture> FromBitmapResource(int resourceId);
    static std::shared_ptr<Picture> FromJpegResource(int resourceId);

    // Size in pixels at the screen's dots per inch.
    int width() const { return width_; }
    int height() const { return height_; }
    // Draws the whole picture into the rectangle, scaled to fit it.
    void Render(HDC dc, const RECT& into) const;

private:
    explicit Picture(IPicture* picture);
    IPicture* picture_;
    long himetricWidth_ = 0, himetricHeight_ = 0;  // 0.01 mm
    int width_ = 0, height_ = 0;
};
