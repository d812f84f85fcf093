#include "font.h"

#include <cmath>

#include "code_pages.h"
#include "runtime.h"

OwnedFont CreateScreenFont(const FontDesc& font) {
    LOGFONTW description{};
    description.lfHeight = -static_cast<LONG>(std::lround(font.points * ScreenDpi(LOGPIXELSY) / 72.0));
    description.lfWeight = font.weight;
    description.lfItalic = font.italic;
    description.lfUnderline = font.underline;
    description.lfStrikeOut = font.strikeout;
    description.lfCharSet = static_cast<BYTE>(font.charset);
    std::wstring face = WideFromCp932(font.face).substr(0, LF_FACESIZE - 1);
    face.copy(description.lfFaceName, face.size());
    return OwnedFont(CreateFontIndirectW(&description));
}
