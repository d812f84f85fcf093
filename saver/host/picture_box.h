// A picture box: a child window that draws like a form (a persistent image
// with windowless controls over it) and holds other controls. Tab moves
// through the controls inside it in their place in the tab order.
#pragma once

#include <windows.h>

#include "canvas.h"

class PictureBox {
public:
    // A child of parent at (x, y), width x height pixels.
    PictureBox(HWND parent, int x, int y, int width, int height, COLORREF background);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    HWND window() const { return window_; }
    Canvas& canvas() { return canvas_; }

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

    HWND window_ = nullptr;
    Canvas canvas_;
};
