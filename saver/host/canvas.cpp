#include "canvas.h"

#include <windowsx.h>

#include "window_class.h"

void Windowless::SetBounds(int left, int top, int width, int height) {
    Refresh();
    bounds_ = RECT{left, top, left + width, top + height};
    Refresh();
}

void Windowless::Refresh() const {
    if (container_) InvalidateRect(container_, &bounds_, FALSE);
}

void Canvas::Attach(HWND window) {
    window_ = window;
    for (Windowless* control : controls_) control->container_ = window;
}

HDC Canvas::Dc() {
    if (!image_) Resize();
    return image_ ? image_->dc() : nullptr;
}

int Canvas::ScaleWidth() const {
    RECT client{};
    GetClientRect(window_, &client);
    return client.right;
}

int Canvas::ScaleHeight() const {
    RECT client{};
    GetClientRect(window_, &client);
    return client.bottom;
}

void Canvas::Refresh() const {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void Canvas::Add(Windowless& control) {
    control.container_ = window_;
    controls_.push_back(&control);
    control.Refresh();
}

// A new size keeps what was drawn at its place; new room takes the
// background.
void Canvas::Resize() {
    int width = ScaleWidth(), height = ScaleHeight();
    if (width <= 0 || height <= 0 || (image_ && image_->width() == width && image_->height() == height)) return;
    ScopedGetDC screen(window_);
    auto resized = std::make_unique<BackBuffer>(screen.get(), width, height);
    if (!resized->ready()) return;
    FillBackground(resized->dc(), RECT{0, 0, width, height});
    if (image_) BitBlt(resized->dc(), 0, 0, image_->width(), image_->height(), image_->dc(), 0, 0, SRCCOPY);
    image_ = std::move(resized);
}

void Canvas::FillBackground(HDC dc, const RECT& area) const {
    OwnedBrush brush(CreateSolidBrush(background_));
    FillRect(dc, &area, brush.get());
}

void Canvas::Paint() {
    ScopedPaint paint(window_);
    HDC dc = paint.get();
    const RECT& dirty = paint.dirty();
    if (HDC image = Dc()) {
        BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, image, dirty.left,
               dirty.top, SRCCOPY);
    } else {
        FillBackground(dc, dirty);
    }
    for (const Windowless* control : controls_) {
        RECT overlap;
        if (IntersectRect(&overlap, &dirty, &control->bounds_)) control->Draw(dc);
    }
}

void Canvas::MouseDown(MouseButton button, LPARAM lParam) {
    // The press belongs to this window (and the control under it) until the
    // release, as a press on a button belongs to the button.
    CaptureMouse(window_);
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The topmost control under the press: the last one added.
    for (auto control = controls_.rbegin(); control != controls_.rend(); ++control) {
        if (PtInRect(&(*control)->bounds_, at)) {
            if ((*control)->onMouseDown) (*control)->onMouseDown(button);
            return;
        }
    }
}

bool Canvas::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_PAINT:
            Paint();
            return true;
        case WM_ERASEBKGND:
            result = 1;  // the paint covers everything
            return true;
        case WM_SIZE:
            if (image_) Resize();
            return false;
        case WM_LBUTTONDOWN:
            MouseDown(MouseButton::Primary, lParam);
            return true;
        case WM_RBUTTONDOWN:
            MouseDown(MouseButton::Secondary, lParam);
            return true;
        case WM_MBUTTONDOWN:
            MouseDown(MouseButton::Middle, lParam);
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            ReleaseMouse(window_, wParam);
            return false;
        default:
            return false;
    }
}
