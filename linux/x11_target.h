// The X window the hack draws into, with its GLX context: a window of its
// own, the root window (or the screen saver's window, or the desktop's
// virtual root, in its place), or a window someone else made.
#pragma once

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <string>

#include "hack_options.h"

struct X11Target {
    Display* display = nullptr;
    // The window the picture goes to: its size, its mapping and its end are
    // followed.
    Window window = 0;
    // The window OpenGL draws on: window itself, or a child made here over
    // all of it when window's visual lacks double buffering or a depth
    // buffer (the scene needs both).
    Window drawable = 0;
    bool ownWindow = false;   // window made here, so destroyed here
    Colormap colormap = 0;    // made here for the visual of a window made here
    GLXContext context = nullptr;
    int width = 0, height = 0;  // the window's size, pixels
    bool viewable = false;    // window mapped, with all its ancestors
    bool obscured = false;    // drawable wholly covered by other windows
    Atom wmProtocols = 0, wmDeleteWindow = 0;
    // Set when X reported an error other than the window's disappearance.
    std::string problem;
};

// Opens the display and the window the options name and makes a GL context
// current on it. On failure writes one line to standard error and returns
// false; CloseTarget then releases what was made.
//
// Once the window is found, its disappearance at any moment ends the
// process at once with exit code 0, from the X error handler: the first
// request that meets the vanished window (often one inside the GL driver,
// which may not survive its failure) is the last.
bool OpenTarget(X11Target& target, const HackOptions& options);

// Releases the context, the windows and colormap made here, and the
// display, in that order, whichever of them exist; the target is then as
// new. Safe after the window is gone.
void CloseTarget(X11Target& target);

enum class TargetNews { Nothing, Resized, End };

// Takes every waiting event, without waiting. End: q or Esc in our own
// window, the window manager's close, the window destroyed, or any X error
// (see problem). Resized: width and height hold the new size.
TargetNews PumpEvents(X11Target& target);

// True when some of the window can be seen: mapped and not wholly covered.
bool TargetSeen(const X11Target& target);

// Sleeps until news of the window (or an error) is waiting, or for at most
// waitUs microseconds; -1 waits for news alone.
void WaitForNews(X11Target& target, int64_t waitUs);

// Shows the finished frame.
void SwapTarget(const X11Target& target);
