// Loaded before the GL driver by the hack's stress test: each XGetGeometry
// (Mesa's software GLX asks the window's size so before every frame) is
// held back 40 ms, as on a loaded machine, so a window destroyed while the
// hack draws most often meets it there and makes it fail; and a failed one leaves its size outputs as a caller's
// unset stack might hold them: a width that is negative as an int (the top
// half of a stack address) and a height of 2272. A driver that goes on with
// that size corrupts its heap.
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <unistd.h>

extern "C" Status XGetGeometry(Display* display, Drawable drawable, Window* root, int* x, int* y, unsigned* width,
                               unsigned* height, unsigned* border, unsigned* depth) {
    using Real = Status (*)(Display*, Drawable, Window*, int*, int*, unsigned*, unsigned*, unsigned*, unsigned*);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "XGetGeometry"));
    usleep(40000);
    *width = 0xFFFDA7FFu;
    *height = 2272;
    return real(display, drawable, root, x, y, width, height, border, depth);
}
