// Owners for GDI objects and device contexts: each releases what it holds
// on every path, so painting many times a second leaks nothing.
#pragma once

#include <windows.h>

#include <utility>

// A pen, brush, font or bitmap, deleted with its owner.
template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using OwnedBrush = GdiObject<HBRUSH>;
using OwnedPen = GdiObject<HPEN>;
using OwnedFont = GdiObject<HFONT>;
using OwnedBitmap = GdiObject<HBITMAP>;

// An object selected into a device context until the end of the scope.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_) SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// GetDC and ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
    const RECT& dirty() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory device context with a bitmap of its own selected: a picture
// kept between paints.
class MemoryImage {
public:
    MemoryImage() = default;
    MemoryImage(HDC compatibleWith, int width, int height)
        : dc_(CreateCompatibleDC(compatibleWith)),
          bitmap_(CreateCompatibleBitmap(compatibleWith, width, height)),
          width_(width),
          height_(height) {
        if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_.get());
    }
    ~MemoryImage() { Release(); }
    MemoryImage(MemoryImage&& other) noexcept { *this = std::move(other); }
    MemoryImage& operator=(MemoryImage&& other) noexcept {
        if (this != &other) {
            Release();
            dc_ = std::exchange(other.dc_, nullptr);
            bitmap_ = std::move(other.bitmap_);
            previous_ = std::exchange(other.previous_, nullptr);
            width_ = other.width_;
            height_ = other.height_;
        }
        return *this;
    }
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    bool ok() const { return dc_ && previous_; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void Release() {
        if (dc_ && previous_) SelectObject(dc_, previous_);
        bitmap_.Reset();
        if (dc_) DeleteDC(dc_);
        dc_ = nullptr;
        previous_ = nullptr;
    }

    HDC dc_ = nullptr;
    OwnedBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    int width_ = 0, height_ = 0;
};
