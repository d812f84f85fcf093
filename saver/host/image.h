// An image control: shows a picture, either at its own size from the
// control's top-left corner (cut to the control) or scaled to fill the
// control.
#pragma once

#include <memory>

#include "canvas.h"
#include "picture.h"

class Image : public Windowless {
public:
    void SetPicture(std::shared_ptr<Picture> picture);
    const std::shared_ptr<Picture>& picture() const { return picture_; }
    void SetStretch(bool stretch);

protected:
    void Draw(HDC dc) const override;

private:
    std::shared_ptr<Picture> picture_;
    bool stretch_ = false;
};
