#include "overlay_text.h"

#include <algorithm>

#include "scene.h"

namespace {

struct Glyph {
    char c;
    unsigned char rows[kGlyphHeight];
};

const Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
};
const unsigned char kBlank[kGlyphHeight] = {};

}  // namespace

int TextDotSize(int windowHeight) { return std::max(1, windowHeight / 270); }

const unsigned char* GlyphRows(char c) {
    for (const Glyph& glyph : kGlyphs)
        if (glyph.c == c) return glyph.rows;
    return kBlank;
}

void DrawCornerText(const std::string& text, int width, int height) {
    const int dot = TextDotSize(height);
    const int advance = (kGlyphWidth + 1) * dot;
    const int left = 2 * dot, top = height - (kGlyphHeight + 2) * dot;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    BeginScreenOverlay(width, height);
    glBegin(GL_QUADS);
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char* rows = GlyphRows(text[i]);
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int column = 0; column < kGlyphWidth; ++column) {
                if (!(rows[row] & (0x10 >> column))) continue;
                float x = float(left + int(i) * advance + column * dot), y = float(top + row * dot);
                glVertex2f(x, y);
                glVertex2f(x, y + dot);
                glVertex2f(x + dot, y + dot);
                glVertex2f(x + dot, y);
            }
    }
    glEnd();
    EndScreenOverlay();
    glPopAttrib();
}
