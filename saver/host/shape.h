// A shape control: a black rectangle outline, one pixel wide.
#pragma once

#include "canvas.h"

class Shape : public Windowless {
protected:
    void Draw(HDC dc) const override;
};
