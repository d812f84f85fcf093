// Bitmaps and their pixels, for pictures that are scaled by our own hand
// (smooth_scale.h): a bitmap read into pixels, pixels made into a bitmap
// or drawn onto a device context.
#pragma once

#include <windows.h>

#include "gdi.h"
#include "smooth_scale.h"

// The bitmap's pixels; empty when it cannot be read.
Pixels PixelsOf(HBITMAP bitmap);
// A new bitmap holding the pixels; null when it cannot be made.
OwnedBitmap BitmapOf(const Pixels& pixels);
// Draws the pixels at their own size, their top-left corner at (x, y).
void DrawPixels(HDC dc, const Pixels& pixels, int x, int y);
