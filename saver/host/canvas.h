// What a form or a picture box draws: a persistent image that keeps the
// drawing until the next clear and shows it again whenever the window is
// uncovered, with the windowless controls (labels, images, shapes) drawn
// over it in the order they were added. A mouse press on a windowless
// control goes to that control; the window holds the mouse from a press
// until its release.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "gdi.h"
#include "mouse_button.h"


// A control without a window of its own, drawn by its container.
class Windowless {
public:
    virtual ~Windowless() = default;
    // Pixels in the container's client area.
    void SetBounds(int left, int top, int width, int height);
    const RECT& bounds() const { return bounds_; }
    // Asks the container to draw this control again.
    void Refresh() const;

    std::function<void(MouseButton)> onMouseDown;

protected:
    virtual void Draw(HDC dc) const = 0;

private:
    friend class Canvas;
    RECT bounds_{};
    HWND container_ = nullptr;
};

class Canvas {
public:
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    explicit Canvas(COLORREF background) : background_(background) {}

    // Draws into this window from now on.
    void Attach(HWND window);
    void SetBackground(COLORREF colour) { background_ = colour; }
    // The persistent image, made at the window's client size on first use.
    HDC Dc();
    int ScaleWidth() const;
    int ScaleHeight() const;
    // Shows what was drawn into the image.
    void Refresh() const;

    void Add(Windowless& control);

    // Paint, background, size and mouse button messages of the window; true
    // when handled.
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void Paint();
    void Resize();
    void FillBackground(HDC dc, const RECT& area) const;
    void MouseDown(MouseButton button, LPARAM lParam);

    HWND window_ = nullptr;
    COLORREF background_;
    std::unique_ptr<BackBuffer> image_;
    std::vector<Windowless*> controls_;
};
