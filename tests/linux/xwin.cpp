// Test probe: makes, resizes, closes and destroys X windows for the hack to
// draw into, the way a screen saver or a desktop would.
//   xwin create W H [X Y [flat]]  a mapped window (at (0, 0) unless given;
//                          flat: of a single-buffered visual without a
//                          depth buffer, which the scene cannot draw on);
//                          prints its id (0x hex), then holds the window
//                          until killed (X destroys a client's windows as
//                          it leaves, and retained ones when their client
//                          number is taken again)
//   xwin child PARENT W H  a mapped window inside PARENT, at its top left;
//                          prints its id and holds it, as create does
//   xwin resize ID W H
//   xwin close ID          the window manager's close (WM_DELETE_WINDOW)
//   xwin destroy ID
//   xwin vroot ID          marks ID as the desktop's virtual root
//   xwin children ID       prints how many child windows ID has
// Exit code 0 done, 1 failed, 2 usage.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool failed = false;
int NoteError(Display*, XErrorEvent*) {
    failed = true;
    return 0;
}

Window Create(Display* display, Window parent, int width, int height, int x, int y, bool flat) {
    int screen = DefaultScreen(display);
    Window root = RootWindow(display, screen);
    if (!flat)
        return XCreateSimpleWindow(display, parent ? parent : root, x, y, width, height, 0, 0,
                                   BlackPixel(display, screen));
    // No GLX_DOUBLEBUFFER and no GLX_DEPTH_SIZE: GLX prefers visuals
    // without either.
    int attributes[] = {GLX_RGBA, None};
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual) return 0;
    XSetWindowAttributes set{};
    set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    Window window = XCreateWindow(display, root, x, y, width, height, 0, visual->depth, InputOutput, visual->visual,
                                  CWColormap | CWBackPixel | CWBorderPixel, &set);
    XFree(visual);
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xwin: no display\n");
        return 1;
    }
    XSetErrorHandler(NoteError);
    const char* command = argv[1];
    Window window = argc > 2 ? std::strtoul(argv[2], nullptr, 0) : 0;
    bool create = !std::strcmp(command, "create") &&
                  (argc == 4 || argc == 6 || (argc == 7 && !std::strcmp(argv[6], "flat")));
    bool child = !std::strcmp(command, "child") && argc == 5;
    if (create || child) {
        int x = create && argc >= 6 ? std::atoi(argv[4]) : 0, y = create && argc >= 6 ? std::atoi(argv[5]) : 0;
        const char* const* size = argv + (create ? 2 : 3);
        window = Create(display, child ? window : 0, std::atoi(size[0]), std::atoi(size[1]), x, y, argc == 7);
        if (!window) return 1;
        XStoreName(display, window, "xwin");
        XMapWindow(display, window);
        XSync(display, False);
        std::printf("0x%lx\n", window);
        std::fflush(stdout);
        for (;;) {
            XEvent event;
            XNextEvent(display, &event);
        }
    } else if (!std::strcmp(command, "resize") && argc == 5) {
        XResizeWindow(display, window, std::atoi(argv[3]), std::atoi(argv[4]));
    } else if (!std::strcmp(command, "close") && argc == 3) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
    } else if (!std::strcmp(command, "destroy") && argc == 3) {
        XDestroyWindow(display, window);
    } else if (!std::strcmp(command, "vroot") && argc == 3) {
        XChangeProperty(display, window, XInternAtom(display, "__SWM_VROOT", False), XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&window), 1);
    } else if (!std::strcmp(command, "children") && argc == 3) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count)) std::printf("%u\n", count);
        if (children) XFree(children);
    } else {
        XCloseDisplay(display);
        return 2;
    }
    XSync(display, False);
    XCloseDisplay(display);
    return failed ? 1 : 0;
}
