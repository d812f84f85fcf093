#include "icon_file.h"

#include "little_endian.h"

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr int kPaletteSize = 256;

uint8_t Nearest(const std::vector<Rgb>& palette, Rgb colour) {
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
        int dr = palette[i].red - colour.red, dg = palette[i].green - colour.green, db = palette[i].blue - colour.blue;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<uint8_t>(best);
}

// The image as an icon resource stores it: an info header of double height
// (colour rows, then mask rows), the palette, the colour indices and the
// one-bit mask, both from the bottom row up and padded to 4 bytes.
std::vector<uint8_t> EncodeDib(const IconImage& icon, const std::vector<Rgb>& palette) {
    const Image& picture = icon.picture;
    const uint32_t width = static_cast<uint32_t>(picture.width()), height = static_cast<uint32_t>(picture.height());
    const uint32_t colourRow = (width + 3) & ~3u, maskRow = ((width + 31) / 32) * 4;
    std::vector<uint8_t> out;
    Put32(out, kInfoHeaderSize);
    Put32(out, width);
    Put32(out, height * 2);
    Put16(out, 1);  // planes
    Put16(out, 8);  // bits per pixel
    Put32(out, 0);  // BI_RGB
    Put32(out, (colourRow + maskRow) * height);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, kPaletteSize);
    Put32(out, 0);
    for (Rgb colour : palette) {
        out.push_back(colour.blue);
        out.push_back(colour.green);
        out.push_back(colour.red);
        out.push_back(0);
    }
    auto transparent = [&](int x, int y) { return icon.transparent[static_cast<size_t>(y) * width + x]; };
    for (int y = picture.height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width(); ++x)
            out.push_back(transparent(x, y) ? 0 : Nearest(palette, picture.at(x, y)));
        out.resize(out.size() + colourRow - width, 0);
    }
    for (int y = picture.height() - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRow, 0);
        for (int x = 0; x < picture.width(); ++x)
            if (transparent(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

std::vector<Rgb> IconPalette() {
    std::vector<Rgb> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(Rgb{static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51),
                                      static_cast<uint8_t>(b * 51)});
    // Greys between the cube's own six.
    for (int i = 1; palette.size() < kPaletteSize; ++i) {
        auto level = static_cast<uint8_t>(i * 255 / 41);
        palette.push_back(Rgb{level, level, level});
    }
    return palette;
}

std::vector<uint8_t> EncodeIco8(const std::vector<IconImage>& images) {
    std::vector<Rgb> palette = IconPalette();
    std::vector<std::vector<uint8_t>> dibs;
    for (const IconImage& image : images) dibs.push_back(EncodeDib(image, palette));

    std::vector<uint8_t> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // an icon
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<uint8_t>(images[i].picture.width()));
        out.push_back(static_cast<uint8_t>(images[i].picture.height()));
        out.push_back(0);  // 256 colours is written as 0
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 8);  // bits per pixel
        Put32(out, static_cast<uint32_t>(dibs[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(dibs[i].size());
    }
    for (const std::vector<uint8_t>& dib : dibs) out.insert(out.end(), dib.begin(), dib.end());
    return out;
}
