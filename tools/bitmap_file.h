// Pictures as our art tools draw them, and the files they are written to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
};
inline bool operator==(Rgb a, Rgb b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }
// 0xRRGGBB, red first as colours are written in our tables.
constexpr Rgb RgbOf(uint32_t rrggbb) {
    return {static_cast<uint8_t>(rrggbb >> 16), static_cast<uint8_t>(rrggbb >> 8), static_cast<uint8_t>(rrggbb)};
}

// A picture of width x height pixels, rows from the top.
class Image {
public:
    Image(int width, int height, Rgb fill = {});
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    Rgb at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    bool operator==(const Image& other) const;

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// A 24-bit BMP file as Windows loads it as a resource: file header, info
// header (96 dpi), rows from the bottom, each padded to 4 bytes.
std::vector<uint8_t> EncodeBmp24(const Image& image);
