// Writes a picture as a baseline JPEG (JFIF 1.01, three components), the
// form the front end's preview still takes.
#pragma once

#include <string>

#include "headless_render.h"

// Same picture and quality (1 .. 100), same bytes. False when the picture
// cannot be compressed or the file cannot be written.
bool WriteJpeg(const std::string& path, const Picture& picture, int quality);
