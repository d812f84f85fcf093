// Test probe: makes, resizes, closes and destroys X windows for the hack to
// draw into, the way a screen saver or a desktop would.
//   xwin create W H [X Y]  a mapped window (at (0, 0) unless given); prints
//                          its id (0x hex), then holds the window until
//                          killed (X destroys a client's windows as it
//                          leaves, and retained ones when their client
//                          number is taken again)
//   xwin resize ID W H
//   xwin close ID          the window manager's close (WM_DELETE_WINDOW)
//   xwin destroy ID
// Exit code 0 done, 1 failed, 2 usage.
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
    if (!std::strcmp(command, "create") && (argc == 4 || argc == 6)) {
        int screen = DefaultScreen(display);
        int x = argc == 6 ? std::atoi(argv[4]) : 0, y = argc == 6 ? std::atoi(argv[5]) : 0;
        window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, std::atoi(argv[2]),
                                     std::atoi(argv[3]), 0, 0, BlackPixel(display, screen));
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
    } else {
        XCloseDisplay(display);
        return 2;
    }
    XSync(display, False);
    XCloseDisplay(display);
    return failed ? 1 : 0;
}
