#include "x11_target.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kOwnWidth = 1024, kOwnHeight = 768;  // the saver's screen, pixels

// GLX's own error codes (glxproto.h) that name a drawable that is gone.
constexpr int kGlxBadDrawable = 2, kGlxBadCurrentWindow = 5, kGlxBadWindow = 12;

// Xlib reports errors through one process-wide handler, which must return
// and may make no requests. Errors arrive late (requests are buffered), so
// other errors are only noted here and acted on between frames.
bool errorSeen = false;
XErrorEvent firstError;
int glxErrorBase = -1000;  // none of GLX's codes match until GLX is found
// The window the picture goes to and the one drawn on, once found: their
// disappearance is the end.
Window watched[2] = {};
// The window's ancestors below the root (see FollowAncestors).
std::vector<Window> ancestors;

bool GoneError(const XErrorEvent& error) {
    int glx = error.error_code - glxErrorBase;
    bool gone = error.error_code == BadWindow || error.error_code == BadDrawable || glx == kGlxBadDrawable ||
                glx == kGlxBadCurrentWindow || glx == kGlxBadWindow;
    return gone && error.resourceid != 0 && (error.resourceid == watched[0] || error.resourceid == watched[1]);
}

// A window destroyed under us is the normal way for a window someone else
// made to end the hack. Mesa's software GLX asks the window's size before
// each frame and, when the window is gone, goes on with a size it never
// set: so nothing more may run once an error says the window is gone.
// The server frees the rest of what a departing client held.
int NoteError(Display*, XErrorEvent* error) {
    if (GoneError(*error)) _exit(0);
    // An ancestor that went while we looked at it took the window with it,
    // which reports its own end.
    if (error->error_code == BadWindow &&
        std::find(ancestors.begin(), ancestors.end(), error->resourceid) != ancestors.end())
        return 0;
    if (!errorSeen) firstError = *error;
    errorSeen = true;
    return 0;
}

// The display itself is gone (the X server ended): nothing is left to
// release or draw on, and Xlib would exit after this handler anyway.
int DisplayLost(Display*) { _exit(0); }

bool Fail(const char* format, unsigned long value = 0) {
    std::fprintf(stderr, "ondrake: ");
    std::fprintf(stderr, format, value);
    std::fprintf(stderr, "\n");
    return false;
}

// The scene needs RGBA, double buffering and a depth buffer.
const int kSceneVisual[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                            GLX_DEPTH_SIZE, 16, None};

bool SuitsScene(Display* display, XVisualInfo* visual) {
    int usesGl = 0, rgba = 0, doubleBuffered = 0, depth = 0;
    glXGetConfig(display, visual, GLX_USE_GL, &usesGl);
    glXGetConfig(display, visual, GLX_RGBA, &rgba);
    glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffered);
    glXGetConfig(display, visual, GLX_DEPTH_SIZE, &depth);
    return usesGl && rgba && doubleBuffered && depth >= 16;
}

// A window of the scene's visual on screen, inside parent and of the
// target's size, with its context: our own top-level window, or a child
// that covers a window whose visual does not suit the scene
// (override-redirect, so that no window manager takes it when its parent is
// the root). Not yet mapped.
Window MakeSceneWindow(X11Target& target, int screen, Window parent, long events, bool child) {
    Display* display = target.display;
    int attributes[sizeof kSceneVisual / sizeof kSceneVisual[0]];
    std::memcpy(attributes, kSceneVisual, sizeof attributes);
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual) {
        Fail("no double-buffered OpenGL visual with a depth buffer on this display");
        return 0;
    }
    target.colormap = XCreateColormap(display, RootWindow(display, screen), visual->visual, AllocNone);
    XSetWindowAttributes set{};
    set.colormap = target.colormap;
    set.background_pixel = 0;  // black in any TrueColor visual
    set.border_pixel = 0;
    set.event_mask = events;
    set.override_redirect = child;
    Window window = XCreateWindow(display, parent, 0, 0, unsigned(target.width), unsigned(target.height), 0,
                                  visual->depth, InputOutput, visual->visual,
                                  CWColormap | CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect, &set);
    target.context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    return window;
}

bool MakeOwnWindow(X11Target& target) {
    Display* display = target.display;
    int screen = DefaultScreen(display);
    target.width = std::min(kOwnWidth, DisplayWidth(display, screen));
    target.height = std::min(kOwnHeight, DisplayHeight(display, screen));
    target.window = MakeSceneWindow(target, screen, RootWindow(display, screen),
                                    StructureNotifyMask | VisibilityChangeMask | KeyPressMask, false);
    if (!target.window) return false;
    target.drawable = watched[0] = target.window;
    target.ownWindow = true;
    XStoreName(display, target.window, "Ondrake");
    XClassHint hint{const_cast<char*>("ondrake"), const_cast<char*>("Ondrake")};
    XSetClassHint(display, target.window, &hint);
    target.wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
    target.wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, target.window, &target.wmDeleteWindow, 1);
    XMapWindow(display, target.window);
    return true;
}

// Desktops that draw on a window of their own over the root mark it with
// __SWM_VROOT on a child of the root, and hacks drawing on the desktop
// draw on that window.
Window VirtualRoot(Display* display) {
    Window root = DefaultRootWindow(display), found = root;
    Atom vroot = XInternAtom(display, "__SWM_VROOT", False);
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return root;
    for (unsigned i = 0; i < count && found == root; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], vroot, 0, 1, False, XA_WINDOW, &type, &format, &items, &after,
                               &data) == Success &&
            data) {
            if (type == XA_WINDOW && format == 32 && items == 1) found = *reinterpret_cast<Window*>(data);
            XFree(data);
        }
    }
    if (children) XFree(children);
    // A child that went away while we looked cannot have been the one.
    XSync(display, False);
    errorSeen = false;
    return found;
}

// A window we did not make. Its visual is fixed: when it does not suit the
// scene, the scene goes to a child of ours over all of it.
bool UseWindow(X11Target& target, Window window) {
    Display* display = target.display;
    XWindowAttributes attributes;
    bool found = XGetWindowAttributes(display, window, &attributes) != 0;
    XSync(display, False);
    if (!found || errorSeen) return Fail("no window 0x%lx", window);
    target.window = window;
    target.width = attributes.width;
    target.height = attributes.height;
    watched[0] = window;
    int screen = XScreenNumberOfScreen(attributes.screen);

    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    wanted.screen = screen;
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
    if (visual && SuitsScene(display, visual)) {
        XSelectInput(display, window, StructureNotifyMask | VisibilityChangeMask);
        target.drawable = window;
        target.context = glXCreateContext(display, visual, nullptr, True);
    } else {
        XSelectInput(display, window, StructureNotifyMask);
        target.drawable = MakeSceneWindow(target, screen, window, VisibilityChangeMask, true);
        watched[1] = target.drawable;
        if (target.drawable) XMapWindow(display, target.drawable);
    }
    if (visual) XFree(visual);
    return target.drawable != 0;
}

// Asks the driver to wait for the display's refresh at each swap, through
// whichever extension it offers.
void SwapOnRefresh(Display* display, GLXDrawable drawable) {
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    auto offers = [extensions](const char* name) {
        if (!extensions) return false;
        size_t length = std::strlen(name);
        for (const char* at = std::strstr(extensions, name); at; at = std::strstr(at + 1, name))
            if ((at == extensions || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
        return false;
    };
    auto address = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };
    if (offers("GLX_EXT_swap_control")) {
        if (auto set = reinterpret_cast<void (*)(Display*, GLXDrawable, int)>(address("glXSwapIntervalEXT")))
            set(display, drawable, 1);
    } else if (offers("GLX_MESA_swap_control")) {
        if (auto set = reinterpret_cast<int (*)(unsigned)>(address("glXSwapIntervalMESA"))) set(1);
    } else if (offers("GLX_SGI_swap_control")) {
        if (auto set = reinterpret_cast<int (*)(int)>(address("glXSwapIntervalSGI"))) set(1);
    }
}

// A window is viewable only while it and all its ancestors are mapped, and
// X tells the window nothing when an ancestor is unmapped (a preview inside
// a settings window that is minimised, say): so the hack follows the map
// state of each of them too, and again whenever one of them moves to
// another parent.
void FollowAncestors(X11Target& target) {
    ancestors.clear();
    for (Window window = target.window;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(target.display, window, &root, &parent, &children, &count)) return;
        if (children) XFree(children);
        if (parent == 0 || parent == root) return;
        ancestors.push_back(parent);
        XSelectInput(target.display, parent, StructureNotifyMask);
        window = parent;
    }
}

// Asked rather than worked out from events: the answer takes every
// ancestor into account, in whatever order their news came.
bool Viewable(const X11Target& target) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(target.display, target.window, &attributes) && attributes.map_state == IsViewable;
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
    int eventBase = 0;
    if (!glXQueryExtension(target.display, &glxErrorBase, &eventBase)) return Fail("the display has no GLX");

    bool made;
    if (options.target == DrawTarget::OwnWindow)
        made = MakeOwnWindow(target);
    else if (options.windowId == 0)
        made = UseWindow(target, VirtualRoot(target.display));
    else
        made = UseWindow(target, options.windowId);
    if (!made) return false;
    if (!target.context) return Fail("cannot make an OpenGL context");
    bool current = glXMakeCurrent(target.display, target.drawable, target.context);
    XSync(target.display, False);
    if (!current || errorSeen) return Fail("cannot draw with OpenGL on window 0x%lx", target.drawable);
    SwapOnRefresh(target.display, target.drawable);
    // Asked once the window's news is followed, so that no change is
    // missed between.
    FollowAncestors(target);
    target.viewable = Viewable(target);
    return true;
}

void CloseTarget(X11Target& target) {
    if (target.display) {
        if (target.context) {
            glXMakeCurrent(target.display, None, nullptr);
            glXDestroyContext(target.display, target.context);
        }
        // From here on the windows' end is ours.
        watched[0] = watched[1] = 0;
        ancestors.clear();
        if (target.ownWindow && target.window)
            XDestroyWindow(target.display, target.window);
        else if (target.drawable && target.drawable != target.window)
            XDestroyWindow(target.display, target.drawable);
        if (target.colormap) XFreeColormap(target.display, target.colormap);
        XCloseDisplay(target.display);
    }
    target = X11Target{};
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
                    if (target.drawable != target.window)
                        XResizeWindow(target.display, target.drawable, unsigned(target.width),
                                      unsigned(target.height));
                    news = TargetNews::Resized;
                }
                break;
            // Of the window or one of its ancestors: only those are
            // followed.
            case ReparentNotify:
                FollowAncestors(target);
                target.viewable = Viewable(target);
                break;
            case MapNotify:
            case UnmapNotify:
                target.viewable = Viewable(target);
                break;
            case VisibilityNotify:
                // Sent only while viewable, and whenever the window becomes so
                // (an ancestor mapped, say).
                if (event.xvisibility.window == target.drawable) {
                    target.viewable = true;
                    target.obscured = event.xvisibility.state == VisibilityFullyObscured;
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
        char text[160];
        XGetErrorText(target.display, firstError.error_code, text, sizeof text);
        target.problem = std::string("X error: ") + text;
        return TargetNews::End;
    }
    return news;
}

bool TargetSeen(const X11Target& target) { return target.viewable && !target.obscured; }

void WaitForNews(X11Target& target, int64_t waitUs) {
    if (XPending(target.display)) return;
    pollfd connection{ConnectionNumber(target.display), POLLIN, 0};
    timespec limit{time_t(waitUs / 1000000), long(waitUs % 1000000) * 1000};
    ppoll(&connection, 1, waitUs < 0 ? nullptr : &limit, nullptr);
}

void SwapTarget(const X11Target& target) { glXSwapBuffers(target.display, target.drawable); }
