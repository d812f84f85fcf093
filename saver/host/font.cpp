#include "font.h"

#include <cmath>

#include "code_pages.h"

FontDesc ProportionalGothic() { return FontDesc{"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, SHIFTJIS_CHARSET}; }

OwnedFont CreateFontFrom(const FontDesc& font) {
    WindowDc screen(nullptr);
    int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    LOGFONTW description{};
    description.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
    description.lfWeight = font.weight;
    description.lfItalic = font.italic;
    description.lfUnderline = font.underline;
    description.lfStrikeOut = font.strikeout;
    description.lfCharSet = static_cast<BYTE>(font.charset);
    description.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(description.lfFaceName, WideFromCp932(font.face).c_str(), LF_FACESIZE);
    return OwnedFont(CreateFontIndirectW(&description));
}
