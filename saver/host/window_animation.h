// The settings dialog's caption animation: the system draws the dialog
// growing out of the point where the mouse was when it opened, and
// shrinking back into it when it closes. Neither moves, shows nor hides the
// window.
#pragma once

#include <windows.h>

#include <cstdint>

// The point, in screen pixels; set by the dialog when it loads.
extern int16_t AnimOriginX, AnimOriginY;

// From the empty rectangle at the point to the window's rectangle.
void AnimateWindowOpen(HWND window);
// From the window's rectangle to the empty rectangle at the point.
void AnimateWindowClose(HWND window);
