// The GDI font made from a font description.
#pragma once

#include <windows.h>

#include "font_desc.h"
#include "gdi.h"

// The font at the given dots per inch.
OwnedFont CreateFontFrom(const FontDesc& font, int dotsPerInch);
// The font at the screen's dots per inch.
OwnedFont CreateScreenFont(const FontDesc& font);
