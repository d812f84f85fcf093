// A font as the forms describe it, and the GDI font made from it.
#pragma once

#include <windows.h>

#include <string>

#include "gdi.h"

struct FontDesc {
    std::string face;  // code page 932
    double points = 9.0;
    int weight = 400;
    bool italic = false, underline = false, strikeout = false;
    int charset = 1;  // DEFAULT_CHARSET
};

// "ＭＳ Ｐゴシック", 9.75 points, normal, Shift-JIS: every label and button
// caption of the front end.
FontDesc ProportionalGothic();

// The font at the screen's dots per inch.
OwnedFont CreateFontFrom(const FontDesc& font);
