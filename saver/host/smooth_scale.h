// Pictures drawn for 96 dots per inch, grown or shrunk to the screen's
// density without jagged edges: every new pixel is the mean of the part of
// the source that it covers. So a picture shrinks without dropping rows,
// grows by whole ratios without blur, and at its own size stays exactly
// as it was. Portable: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels row by row from the top, each 32 bits as a 32-bit DIB holds them
// (four 8-bit channels, averaged alike).
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> values;

    Pixels() = default;
    Pixels(int w, int h) : width(w), height(h), values(static_cast<size_t>(w) * h) {}
    uint32_t& at(int x, int y) { return values[static_cast<size_t>(y) * width + x]; }
    uint32_t at(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
};

// The source's area of w x h pixels at (left, top) scaled to width x
// height; empty when either is not positive or the area is not inside the
// source.
Pixels ScaleSmoothly(const Pixels& source, int left, int top, int w, int h, int width, int height);

// A framed picture, square corners of corner pixels and edges between
// them, at width x height with corners of cornerWidth x cornerHeight: each
// of its nine pieces is scaled on its own, so that corners stay whole and
// the edges keep their bands. Empty when the frame is smaller than its two
// corners.
Pixels ScaleFrame(const Pixels& source, int corner, int width, int height, int cornerWidth, int cornerHeight);
