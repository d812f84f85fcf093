// The GDI font made from a font description.
#pragma once

#include <windows.h>

#include "font_desc.h"
#include "gdi.h"

// The font at the screen's dots per inch: its points are that many points
// there, for labels and buttons' captions alike.
OwnedFont CreateScreenFont(const FontDesc& font);
