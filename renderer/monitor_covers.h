// Black windows over whatever of the monitors the picture does not fill, so
// that a desktop of several monitors shows nothing of itself while the
// saver runs, whatever display modes other programs set meanwhile. The
// covers never take activation or the keyboard: the render window keeps
// both, and Esc still reaches it after a click on a cover.
#pragma once

#include <windows.h>

// Covers every part of every monitor that the window `picture` leaves
// showing: whole monitors beside it, and the bands around it on a monitor
// larger than it. The covers go around the picture, never over it. Call it
// after the display mode has changed, since monitors move with the mode.
// A cover that cannot be made is left out and the run goes on without it.
void CoverMonitors(HINSTANCE instance, HWND picture);

// Fits the covers to the monitors again after the display has changed
// (WM_DISPLAYCHANGE): monitors may have moved, grown, come or gone. Does
// nothing when no covers are up.
void PlaceCovers();

// Takes the covers down and unregisters their class; safe when none were
// made, and afterwards PlaceCovers makes none.
void RemoveCovers();
