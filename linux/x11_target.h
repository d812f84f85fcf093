// The X window the hack draws into, with its GLX context: a window of its
// own, the root window (or the screen saver's window in its place), or a
// window someone else made.
#pragma once

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <string>

#include "hack_options.h"

struct X11Target {
    Display* display = nullptr;
    Window window = 0;
    bool ownWindow = false;   // made here, so destroyed here
    Colormap colormap = 0;    // made here for our own window's visual
    GLXContext context = nullptr;
    bool doubleBuffered = true;
    int width = 0, height = 0;  // the window's size, pixels
    Atom wmProtocols = 0, wmDeleteWindow = 0;
    // Set when X reported an error other than the window's disappearance.
    std::string problem;
    // Set when the window was destroyed while it was being opened.
    bool gone = false;
};

// Opens the display and the window the options name and makes a GL context
// current on it. On failure writes one line to standard error (none when
// the window was destroyed meanwhile: gone) and returns false; CloseTarget
// then releases what was made.
bool OpenTarget(X11Target& target, const HackOptions& options);

// Releases the context, our own window and colormap, and the display, in
// that order, whichever of them exist. Safe after the window is gone.
void CloseTarget(X11Target& target);

enum class TargetNews { Nothing, Resized, End };

// Takes every waiting event. End: q or Esc in our own window, the window
// manager's close, the window destroyed, or any X error (see problem).
// Resized: width and height hold the new size.
TargetNews PumpEvents(X11Target& target);

// Shows the finished frame.
void SwapTarget(const X11Target& target);
