// A shape control: a black rectangle outline, one pixel wide at 96 dots
// per inch (ScreenLineWidth on a denser screen).
#pragma once

#include "canvas.h"

class Shape : public Windowless {
protected:
    void Draw(HDC dc) const override;
};

// That outline, drawn inside the box; framed labels draw it too.
void DrawOutline(HDC dc, const RECT& box);
