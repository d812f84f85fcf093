#include "x11_target.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kOwnWidth = 1024, kOwnHeight = 768;  // the saver's screen, pixels

// Xlib reports errors through one process-wide handler, which must return.
// Errors arrive late (requests are buffered), so they are only noted here
// and acted on between frames.
bool errorSeen = false;
XErrorEvent firstError;

int NoteError(Display*, XErrorEvent* error) {
    if (!errorSeen) firstError = *error;
    errorSeen = true;
    return 0;
}

// The display itself is gone (the X server ended): nothing is left to
// release or draw on, and Xlib would exit after this handler anyway.
int DisplayLost(Display*) { _exit(0); }

// Errors that mean the window was destroyed under us: the normal way for a
// window someone else made to end the hack.
bool WindowGoneError(const XErrorEvent& error, Window window) {
    return error.error_code == BadWindow || error.error_code == BadDrawable || error.resourceid == window;
}

bool Fail(const char* format, unsigned long value = 0) {
    std::fprintf(stderr, "ondrake: ");
    std::fprintf(stderr, format, value);
    std::fprintf(stderr, "\n");
    return false;
}

bool MakeOwnWindow(X11Target& target) {
    Display* display = target.display;
    int screen = DefaultScreen(display);
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                        GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual) return Fail("no double-buffered OpenGL visual on this display");
    Window root = RootWindow(display, screen);
    target.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes set{};
    set.colormap = target.colormap;
    set.background_pixel = 0;  // black in any TrueColor visual
    set.border_pixel = 0;
    set.event_mask = StructureNotifyMask | KeyPressMask;
    target.width = std::min(kOwnWidth, DisplayWidth(display, screen));
    target.height = std::min(kOwnHeight, DisplayHeight(display, screen));
    target.window = XCreateWindow(display, root, 0, 0, unsigned(target.width), unsigned(target.height), 0,
                                  visual->depth, InputOutput, visual->visual,
                                  CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &set);
    target.ownWindow = true;
    XStoreName(display, target.window, "Ondrake");
    XClassHint hint{const_cast<char*>("ondrake"), const_cast<char*>("Ondrake")};
    XSetClassHint(display, target.window, &hint);
    target.wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
    target.wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, target.window, &target.wmDeleteWindow, 1);
    XMapWindow(display, target.window);
    target.context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    return true;
}

// A window we did not make: its visual is fixed, so it must be one that
// OpenGL can draw on.
bool UseWindow(X11Target& target, Window window) {
    Display* display = target.display;
    XWindowAttributes attributes;
    bool found = XGetWindowAttributes(display, window, &attributes) != 0;
    XSync(display, False);
    if (!found || errorSeen) return Fail("no window 0x%lx", window);
    target.window = window;
    target.width = attributes.width;
    target.height = attributes.height;
    XSelectInput(display, window, StructureNotifyMask);

    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    int usesGl = 0, rgba = 0, doubleBuffered = 0;
    if (visual) {
        glXGetConfig(display, visual, GLX_USE_GL, &usesGl);
        glXGetConfig(display, visual, GLX_RGBA, &rgba);
        glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffered);
    }
    if (!visual || !usesGl || !rgba) {
        if (visual) XFree(visual);
        return Fail("window 0x%lx has no RGBA OpenGL visual", window);
    }
    target.doubleBuffered = doubleBuffered != 0;
    target.context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    return true;
}

}  // namespace

bool OpenTarget(X11Target& target, const HackOptions& options) {
    // A target opened again (the benchmark opens one per model) starts
    // without the errors of the last.
    errorSeen = false;
    XSetErrorHandler(NoteError);
    XSetIOErrorHandler(DisplayLost);
    const char* name = options.displayName.empty() ? nullptr : options.displayName.c_str();
    target.display = XOpenDisplay(name);
    if (!target.display) {
        std::fprintf(stderr, "ondrake: cannot open display %s\n", XDisplayName(name));
        return false;
    }
    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(target.display, &errorBase, &eventBase)) return Fail("the display has no GLX");

    bool made;
    if (options.target == DrawTarget::OwnWindow)
        made = MakeOwnWindow(target);
    else if (options.windowId == 0)
        made = UseWindow(target, DefaultRootWindow(target.display));
    else
        made = UseWindow(target, options.windowId);
    if (!made) return false;
    bool current = target.context && glXMakeCurrent(target.display, target.window, target.context);
    XSync(target.display, False);
    // Destroyed between our look at it and now: the same quiet end as a
    // window destroyed while we draw.
    if (errorSeen && WindowGoneError(firstError, target.window)) {
        target.gone = true;
        return false;
    }
    if (!target.context) return Fail("cannot make an OpenGL context");
    if (!current || errorSeen) return Fail("cannot draw with OpenGL on window 0x%lx", target.window);
    return true;
}

void CloseTarget(X11Target& target) {
    if (!target.display) return;
    if (target.context) {
        glXMakeCurrent(target.display, None, nullptr);
        glXDestroyContext(target.display, target.context);
        target.context = nullptr;
    }
    if (target.ownWindow && target.window) XDestroyWindow(target.display, target.window);
    target.window = 0;
    if (target.colormap) XFreeColormap(target.display, target.colormap);
    target.colormap = 0;
    XCloseDisplay(target.display);
    target.display = nullptr;
}

TargetNews PumpEvents(X11Target& target) {
    TargetNews news = TargetNews::Nothing;
    while (XPending(target.display)) {
        XEvent event;
        XNextEvent(target.display, &event);
        switch (event.type) {
            case ConfigureNotify:
                if (event.xconfigure.window == target.window &&
                    (event.xconfigure.width != target.width || event.xconfigure.height != target.height)) {
                    target.width = event.xconfigure.width;
                    target.height = event.xconfigure.height;
                    news = TargetNews::Resized;
                }
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == target.window) return TargetNews::End;
                break;
            case KeyPress: {
                KeySym key = NoSymbol;
                char text[8];
                XLookupString(&event.xkey, text, sizeof text, &key, nullptr);
                if (key == XK_q || key == XK_Q || key == XK_Escape) return TargetNews::End;
                break;
            }
            case ClientMessage:
                if (event.xclient.message_type == target.wmProtocols &&
                    Atom(event.xclient.data.l[0]) == target.wmDeleteWindow)
                    return TargetNews::End;
                break;
        }
    }
    if (errorSeen) {
        if (!WindowGoneError(firstError, target.window)) {
            char text[160];
            XGetErrorText(target.display, firstError.error_code, text, sizeof text);
            target.problem = std::string("X error: ") + text;
        }
        return TargetNews::End;
    }
    return news;
}

void SwapTarget(const X11Target& target) {
    if (target.doubleBuffered)
        glXSwapBuffers(target.display, target.window);
    else
        glFlush();
}
