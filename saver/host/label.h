// A label: black text drawn by its container over whatever lies below it
// (the background stays visible), in one font, left-aligned or
// centred, optionally framed by a thin border, in which case the text wraps
// inside the frame and what does not fit is cut off.
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

protected:
    void Draw(HDC dc) const override;

private:
    UINT Format() const;

    std::wstring caption_;
    OwnedFont font_;
    Alignment alignment_ = Alignment::Left;
    bool border_ = false;
};
