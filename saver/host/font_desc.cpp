#include "font_desc.h"

bool operator==(const FontDesc& a, const FontDesc& b) {
    return a.face == b.face && a.points == b.points && a.weight == b.weight && a.italic == b.italic &&
           a.underline == b.underline && a.strikeout == b.strikeout && a.charset == b.charset;
}

FontDesc DesignFont() { return {"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128}; }
