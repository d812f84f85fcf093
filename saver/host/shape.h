// A shape control: a rectangle outline, one pixel wide.
#pragma once

#include "canvas.h"

class Shape : public Windowless {
public:
    void SetBorderColour(COLORREF colour);

protected:
    void Draw(HDC dc) const override;

private:
    COLORREF borderColour_ = RGB(0, 0, 0);
};
