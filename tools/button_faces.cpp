#include "button_faces.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kBand = 4;        // rings, and the corner's size in pixels
constexpr int kRunTop = 4;      // the side rings run from row 4 (first colour)
constexpr int kRunBottom = 20;  // to row 20 (second colour)

// One ring's colours (0xRRGGBB). The sides run from their first colour at
// row 4 to their second at row 20.
struct Ring {
    uint32_t top, bottom, leftFrom, leftTo, rightFrom, rightTo;
};
constexpr Ring Uniform(uint32_t top, uint32_t bottom, uint32_t left, uint32_t right) {
    return {top, bottom, left, left, right, right};
}
constexpr Ring Plain(uint32_t colour) { return Uniform(colour, colour, colour, colour); }

struct Design {
    std::array<Ring, kBand> rings;
    int inset;  // pixels between the image's edge and the rounded frame
};

// The dialog's face colour: what the rounded corners cut away shows.
constexpr uint32_t kDialogFace = 0xECE9D8;

constexpr Ring kNormalRing0 = Uniform(0xE0DCC9, 0xF8F7F0, 0xE2DECB, 0xF0EEE0);
constexpr Ring kBorder = Plain(0x003C74);

constexpr Design kNormal = {{kNormalRing0, kBorder, Ring{0xF3F3EE, 0xD6D0C5, 0xFDFDFC, 0xECEBE6, 0xF6F4F2, 0xE0DDD4},
                             Ring{0xF3F3EE, 0xE2DFD6, 0xFDFDFC, 0xEBEBE5, 0xFBFBFA, 0xE4E2DA}},
                            0};
constexpr Design kHighLight = {{kNormalRing0, kBorder, Ring{0xFFF0CF, 0xE59700, 0xFEDF9A, 0xF9B435, 0xFDE09B, 0xF8B435},
                                Ring{0xFDD889, 0xF8B330, 0xFCD279, 0xF8B535, 0xFCD279, 0xF8B535}},
                               0};
constexpr Design kSelected = {{kNormalRing0, kBorder, Ring{0xCEE7FF, 0x6982EE, 0xB7D0F4, 0x8BADE4, 0xB1CCF2, 0x8BAFE5},
                               Ring{0xCEE7FF, 0x6982EE, 0xB8D1F4, 0x8BADE4, 0xB1CCF2, 0x8BAFE5}},
                              0};
// The frame set one pixel inward, with an inner shadow.
constexpr Design kPressed = {
    {Plain(kDialogFace), kNormalRing0, kBorder, Uniform(0xD1CCC1, 0xF2F1EE, 0xD8D5CB, 0xE4E3DC)}, 1};
constexpr Design kDisable = {{Plain(kDialogFace), Plain(0xC9C7BA), Plain(0xF5F4EA), Plain(0xF5F4EA)}, 0};

struct Mix {
    double red = 0, green = 0, blue = 0;
    void Add(uint32_t colour, double weight) {
        red += weight * ((colour >> 16) & 0xFF);
        green += weight * ((colour >> 8) & 0xFF);
        blue += weight * (colour & 0xFF);
    }
    Rgb Result() const {
        auto channel = [](double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); };
        return {channel(red), channel(green), channel(blue)};
    }
};

// A side ring's colour at a row of the 64 x 25 face (a fraction between
// rows on a larger face), interpolated along its run.
uint32_t RunColour(uint32_t from, uint32_t to, double row) {
    const double t = std::clamp(row, double{kRunTop}, double{kRunBottom}) - kRunTop, span = kRunBottom - kRunTop;
    uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        out |= static_cast<uint32_t>(std::floor((a * (span - t) + b * t) / span + 0.5)) << shift;
    }
    return out;
}

// The interior is never shown; a plausible fill: the background gradient.
Rgb InteriorColour(double row) {
    Mix mix;
    double t = std::clamp(row / (kButtonFaceHeight - 1), 0.0, 1.0);
    mix.Add(0xFFFFFF, 1 - t);
    mix.Add(0xC6C5D7, t);
    return mix.Result();
}

// A corner pixel, dx and dy pixels from the image's two nearest edges, on
// a face drawn scale times the 64 x 25 size. The frame's outline is
// rounded with the corner's radius; each pixel is the average of the rings
// over one pixel across that outline (so the border ring runs diagonally
// over blended pixels). Rings take the colour of the horizontal side above
// the diagonal, of the vertical side below it, and both on it. Lengths are
// in pixels of the 64 x 25 face.
Rgb CornerColour(const Design& design, int scale, int dx, int dy, uint32_t const (&horizontal)[kBand],
                 uint32_t const (&vertical)[kBand]) {
    const int radius = kBand - design.inset;
    const double pixel = 1.0 / scale;
    const double lx = (dx + 0.5) * pixel - design.inset, ly = (dy + 0.5) * pixel - design.inset;
    double depth;  // distance of the pixel's centre inside the image's edge
    if (lx < 0 || ly < 0)
        depth = (std::min(dx, dy) + 0.5) * pixel;
    else
        depth = design.inset + radius - std::sqrt((radius - lx) * (radius - lx) + (radius - ly) * (radius - ly));
    const double sideWeight = dx > dy ? 0.0 : dx < dy ? 1.0 : 0.5;
    Mix mix;
    const double from = depth - pixel / 2, to = depth + pixel / 2;
    if (from < 0) mix.Add(kDialogFace, (std::min(to, 0.0) - from) * scale);
    for (int ring = 0; ring < kBand; ++ring) {
        double low = std::max(from, static_cast<double>(ring));
        double high = std::min(to, ring == kBand - 1 ? to : ring + 1.0);
        if (high <= low) continue;
        mix.Add(horizontal[ring], (high - low) * scale * (1 - sideWeight));
        mix.Add(vertical[ring], (high - low) * scale * sideWeight);
    }
    return mix.Result();
}

Image DrawFace(const Design& design, int scale) {
    const int w = kButtonFaceWidth * scale, h = kButtonFaceHeight * scale, band = kBand * scale;
    Image image(w, h);
    for (int y = 0; y < h; ++y) {
        const double row = (y + 0.5) / scale - 0.5;  // in rows of the 64 x 25 face
        for (int x = 0; x < w; ++x) {
            const int dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
            const bool left = x < w / 2, top = y < h / 2;
            uint32_t horizontal[kBand], vertical[kBand];
            for (int ring = 0; ring < kBand; ++ring) {
                const Ring& r = design.rings[ring];
                horizontal[ring] = top ? r.top : r.bottom;
                vertical[ring] = left ? RunColour(r.leftFrom, r.leftTo, row) : RunColour(r.rightFrom, r.rightTo, row);
            }
            Rgb& pixel = image.at(x, y);
            if (dx >= band && dy >= band)
                pixel = InteriorColour(row);
            else if (dx < band && dy < band)
                pixel = CornerColour(design, scale, dx, dy, horizontal, vertical);
            else if (dy < band)
                pixel = RgbOf(horizontal[dy / scale]);
            else
                pixel = RgbOf(vertical[dx / scale]);
        }
    }
    return image;
}

}  // namespace

std::vector<ButtonFace> DrawButtonFaces(int scale) {
    Image highLight = DrawFace(kHighLight, scale);
    return {{"Normal", DrawFace(kNormal, scale)},   {"HighLight", highLight},
            {"Pressed", DrawFace(kPressed, scale)}, {"Disable", DrawFace(kDisable, scale)},
            {"HighLightSelect", highLight},         {"Selected", DrawFace(kSelected, scale)}};
}
