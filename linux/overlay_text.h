// A line of text drawn over the picture with OpenGL 1.1 alone: a small
// built-in 5 x 7 dot font, so the hack needs no X font.
#pragma once

#include <string>

// Dots per glyph, and the dot size in pixels for a window height in pixels.
constexpr int kGlyphWidth = 5, kGlyphHeight = 7;
int TextDotSize(int windowHeight);

// The rows of one glyph, top row first, bit 4 the leftmost dot. Digits, the
// letters of "FPS", ':', '.' and space; anything else is blank.
const unsigned char* GlyphRows(char c);

// Draws text in white in the lower-left corner of a window of width x
// height pixels, over whatever the frame holds, leaving the GL state
// (enables, colour, matrices) as it found it.
void DrawCornerText(const std::string& text, int width, int height);
