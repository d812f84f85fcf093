#include "dialog_art.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kMarkSize = 12;

Rgb Mix(Rgb a, Rgb b, double t) {
    auto channel = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
    return Rgb{channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue)};
}

// Which side of the line from a to b the point lies on.
double Side(double px, double py, double ax, double ay, double bx, double by) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

bool InTriangle(double px, double py, const double t[6]) {
    double d1 = Side(px, py, t[0], t[1], t[2], t[3]);
    double d2 = Side(px, py, t[2], t[3], t[4], t[5]);
    double d3 = Side(px, py, t[4], t[5], t[0], t[1]);
    bool negative = d1 < 0 || d2 < 0 || d3 < 0, positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

}  // namespace

Image MarkPicture(bool chosen) {
    const Rgb frame = RgbOf(0x808080), light = RgbOf(0xF8F8F8), blue = RgbOf(0x2A5BD7), shine = RgbOf(0x7FA4F0);
    Image mark(kMarkSize, kMarkSize, light);
    for (int y = 0; y < kMarkSize; ++y) {
        for (int x = 0; x < kMarkSize; ++x) {
            bool edge = x == 0 || y == 0 || x == kMarkSize - 1 || y == kMarkSize - 1;
            if (edge)
                mark.at(x, y) = frame;
            else if (chosen)
                mark.at(x, y) = x == 1 || y == 1 ? shine : blue;  // a lit upper-left rim
        }
    }
    return mark;
}

IconImage IconPicture(int size) {
    const double s = size / 32.0;  // drawn on a 32-pixel grid, scaled
    const Rgb tile = RgbOf(0x000033), trail = RgbOf(0x9A9A9A);
    const Rgb shardColours[] = {RgbOf(0xE8D8FF), RgbOf(0xFFD0F0), RgbOf(0xC8E8FF), RgbOf(0xF8F0FF)};
    IconImage icon{Image(size, size), std::vector<bool>(static_cast<size_t>(size) * size, false)};

    // Shards: triangles pointing away from the body's centre.
    const double cx = 19 * s, cy = 16 * s;
    const int kShards = 9;
    std::vector<std::array<double, 6>> shards;
    for (int i = 0; i < kShards; ++i) {
        double angle = i * 2 * 3.14159265358979 / kShards + 0.3;
        double inner = (i % 2 ? 4.0 : 5.5) * s, outer = (i % 2 ? 10.5 : 13.5) * s, half = 0.42;
        shards.push_back({cx + inner * std::cos(angle - half), cy + inner * std::sin(angle - half),
                          cx + inner * std::cos(angle + half), cy + inner * std::sin(angle + half),
                          cx + outer * std::cos(angle), cy + outer * std::sin(angle)});
    }

    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double px = x + 0.5, py = y + 0.5;
            // The round tile; outside it the icon is see-through.
            double dx = px - size / 2.0, dy = py - size / 2.0;
            if (std::sqrt(dx * dx + dy * dy) > size / 2.0) {
                icon.transparent[static_cast<size_t>(y) * size + x] = true;
                continue;
            }
            Rgb colour = tile;
            // The trail: a soft grey band fading towards the left edge.
            double band = std::fabs(py - cy) / (6.5 * s);
            double fade = std::min(1.0, std::max(0.0, 1.3 * px / cx - 0.15));
            if (px < cx && band < 1.0) colour = Mix(tile, trail, std::sqrt(1.0 - band) * fade);
            // The body: a bright core.
            double core = std::hypot(px - cx, py - cy) / (5.5 * s);
            if (core < 1.0) colour = Mix(RgbOf(0xFFFFFF), RgbOf(0xD8C8F8), core);
            for (int i = 0; i < kShards; ++i)
                if (InTriangle(px, py, shards[i].data())) colour = shardColours[i % 4];
            icon.picture.at(x, y) = colour;
        }
    }
    return icon;
}
