// Windows icon files: 256-colour images with a transparency mask, as the
// program's icon resource holds them.
#pragma once

#include <cstdint>
#include <vector>

#include "bitmap_file.h"

// One picture of an icon and which of its pixels are see-through.
struct IconImage {
    Image picture;
    std::vector<bool> transparent;  // one per pixel, rows from the top
};

// The palette every image is reduced to: a 6 x 6 x 6 colour cube and 40
// greys, 256 entries.
std::vector<Rgb> IconPalette();

// An .ico file with the images in the order given, each at 8 bits per
// pixel through the palette (nearest colour).
std::vector<uint8_t> EncodeIco8(const std::vector<IconImage>& images);
