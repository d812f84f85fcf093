// A font as forms and controls describe it. Portable: no Windows headers.
#pragma once

#include <string>

struct FontDesc {
    std::string face;  // code page 932
    double points = 0;
    int weight = 0;
    bool italic = false, underline = false, strikeout = false;
    int charset = 0;
};
bool operator==(const FontDesc& a, const FontDesc& b);
inline bool operator!=(const FontDesc& a, const FontDesc& b) { return !(a == b); }

// "ＭＳ Ｐゴシック", 9.75 points, weight 400, Shift-JIS (128): every label and
// button caption of the front end.
FontDesc DesignFont();
