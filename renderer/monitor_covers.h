// Black windows over the monitors that do not show the picture, so that a
// desktop of several monitors shows nothing of itself while the saver runs.
// The covers never take activation or the keyboard: the render window keeps
// both, and Esc still reaches it after a click on a cover.
#pragma once

#include <windows.h>

// Covers every monitor that the window `picture` does not overlap. Call it
// after the display mode has changed, since monitors move with the mode.
// A cover that cannot be made is left out and the run goes on without it.
void CoverOtherMonitors(HINSTANCE instance, HWND picture);

// Fits the covers to the monitors again after the display has changed
// (WM_DISPLAYCHANGE): monitors may have moved, come or gone. Does nothing
// when no covers are up.
void PlaceCovers();

// Takes the covers down and unregisters their class; safe when none were
// made, and afterwards PlaceCovers makes none.
void RemoveCovers();
