#include "window_animation.h"

int16_t AnimOriginX = 0, AnimOriginY = 0;

namespace {

// A window whose rectangle cannot be read animates to or from the screen's
// top-left corner.
RECT WindowRectangle(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) rect = RECT{};
    return rect;
}

RECT OriginRectangle() { return RECT{AnimOriginX, AnimOriginY, AnimOriginX, AnimOriginY}; }

}  // namespace

void AnimateWindowOpen(HWND window) {
    RECT from = OriginRectangle(), to = WindowRectangle(window);
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

void AnimateWindowClose(HWND window) {
    RECT from = WindowRectangle(window), to = OriginRectangle();
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}
