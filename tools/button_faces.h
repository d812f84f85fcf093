// The six 64 x 25 face images of the Command button, drawn from its ring
// colour table. Only a band of four one-pixel rings along the edges is ever
// shown; ring 0 is the outermost.
#pragma once

#include <string>
#include <vector>

#include "bitmap_file.h"

constexpr int kButtonFaceWidth = 64;
constexpr int kButtonFaceHeight = 25;

struct ButtonFace {
    std::string name;  // the face's name, and its file name without ".bmp"
    Image image;
};

// Normal, HighLight, Pressed, Disable, HighLightSelect, Selected, drawn
// scale times as large for denser screens (128 x 50 at 2, each ring two
// pixels wide).
std::vector<ButtonFace> DrawButtonFaces(int scale = 1);
