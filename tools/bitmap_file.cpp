#include "bitmap_file.h"

#include <cstdio>

#include "little_endian.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch

}  // namespace

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

bool Image::operator==(const Image& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

std::vector<uint8_t> EncodeBmp24(const Image& image) {
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width()) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(image.height());
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + pixelBytes);
    Put32(out, 0);  // reserved
    Put32(out, offset);
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<uint32_t>(image.width()));
    Put32(out, static_cast<uint32_t>(image.height()));  // positive: bottom-up
    Put16(out, 1);                                      // planes
    Put16(out, 24);                                     // bits per pixel
    Put32(out, 0);                                      // BI_RGB
    Put32(out, pixelBytes);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);  // colours used
    Put32(out, 0);  // colours important
    for (int y = image.height() - 1; y >= 0; --y) {
        size_t rowStart = out.size();
        for (int x = 0; x < image.width(); ++x) {
            Rgb pixel = image.at(x, y);
            out.push_back(pixel.blue);
            out.push_back(pixel.green);
            out.push_back(pixel.red);
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}
