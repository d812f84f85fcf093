// Owners for device contexts and GDI objects, so that none leaks on any
// path: a control that paints on every mouse transition and leaks one
// object per paint ends the process after a few hours.
#pragma once

#include <windows.h>

#include "unique_handle.h"

// A GDI object (bitmap, brush, font, pen, region), deleted with its owner.
struct GdiObjectTraits {
    static bool Valid(HGDIOBJ object) { return object != nullptr; }
    static void Close(HGDIOBJ object) { DeleteObject(object); }
};
using OwnedBitmap = UniqueOwner<HBITMAP, GdiObjectTraits>;
using OwnedBrush = UniqueOwner<HBRUSH, GdiObjectTraits>;
using OwnedFont = UniqueOwner<HFONT, GdiObjectTraits>;

// A window's device context (or the screen's, for a null window).
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedGetDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint to EndPaint, for WM_PAINT.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC get() const { return dc_; }
    const RECT& dirty() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// An object selected into a device context, and the one it replaced put
// back at the end, before either can be deleted.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelectObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    bool selected() const { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context compatible with another (or with the screen).
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A drawing surface of width x height pixels: a memory device context with
// its own bitmap selected, compatible with another device context.
class BackBuffer {
public:
    BackBuffer(HDC compatibleWith, int width, int height)
        : dc_(compatibleWith),
          bitmap_(CreateCompatibleBitmap(compatibleWith, width > 0 ? width : 1, height > 0 ? height : 1)),
          select_(dc_.get(), bitmap_.get()),
          width_(width),
          height_(height) {}
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    HDC dc() const { return dc_.get(); }
    bool ready() const { return select_.selected(); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    // Destroyed in reverse: the bitmap is deselected, deleted, then the DC.
    MemoryDC dc_;
    OwnedBitmap bitmap_;
    ScopedSelectObject select_;
    int width_, height_;
};
