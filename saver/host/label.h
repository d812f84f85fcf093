// A label: black text drawn by its container over whatever lies below it
// (the background stays visible), in one font, left-aligned or
// centred, optionally framed by a thin border (shape.h), in which case the
// text wraps inside the frame and what does not fit is cut off.
#pragma once

#include <string>

#include "canvas.h"
#include "font.h"

class Label : public Windowless {
public:
    enum class Alignment { Left, Centre };

    Label();
    void SetCaption(const std::wstring& caption);
    void SetFont(const FontDesc& font);
    void SetAlignment(Alignment alignment);
    void SetBorder(bool border);
    // Sizes the label to its text, keeping its top-left corner.
    void AutoSize();
    // Makes the label taller, keeping its top-left corner, where fewer than
    // that many lines of its font fit inside it: the font's size follows
    // the screen's density in whole pixels, which may outgrow the room the
    // design gave.
    void FitLines(int lines);

protected:
    void Draw(HDC dc) const override;

private:
    UINT Format() const;
    // Where the text goes: inside the border, if any.
    RECT TextArea() const;

    std::wstring caption_;
    OwnedFont font_;
    Alignment alignment_ = Alignment::Left;
    bool border_ = false;
};
