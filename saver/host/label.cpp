#include "label.h"

#include "runtime.h"
#include "shape.h"

Label::Label() { SetFont(DesignFont()); }

void Label::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    Refresh();
}

void Label::SetFont(const FontDesc& font) {
    font_ = CreateScreenFont(font);
    Refresh();
}

void Label::SetAlignment(Alignment alignment) {
    alignment_ = alignment;
    Refresh();
}

void Label::SetBorder(bool border) {
    border_ = border;
    Refresh();
}

UINT Label::Format() const {
    // Text is shown as it stands: an ampersand in a path is no mnemonic.
    UINT format = DT_NOPREFIX | (alignment_ == Alignment::Centre ? DT_CENTER : DT_LEFT);
    // A framed label lays long text out over its lines, breaking words
    // (a path has few blanks) when they do not fit.
    if (border_) format |= DT_WORDBREAK | DT_EDITCONTROL;
    return format;
}

void Label::AutoSize() {
    ScopedGetDC screen(nullptr);
    ScopedSelectObject font(screen.get(), font_.get());
    RECT measured{0, 0, 0, 0};
    DrawTextW(screen.get(), caption_.c_str(), static_cast<int>(caption_.size()), &measured,
              DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    SetBounds(bounds().left, bounds().top, measured.right, measured.bottom);
}

void Label::FitLines(int lines) {
    ScopedGetDC screen(nullptr);
    ScopedSelectObject font(screen.get(), font_.get());
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(screen.get(), &metrics)) return;
    const RECT& box = bounds();
    const RECT area = TextArea();
    // The bottom row of a line's cell holds no glyph: a last line that
    // loses only that row shows whole.
    const int missing = lines * metrics.tmHeight - 1 - (area.bottom - area.top);
    if (missing > 0) SetBounds(box.left, box.top, box.right - box.left, box.bottom - box.top + missing);
}

RECT Label::TextArea() const {
    RECT area = bounds();
    // The border, and at the sides a margin of one pixel at 96 dots per inch.
    if (border_) InflateRect(&area, -ScreenLineWidth() - ScreenPixels(1), -ScreenLineWidth(LOGPIXELSY));
    return area;
}

void Label::Draw(HDC dc) const {
    if (border_) DrawOutline(dc, bounds());
    RECT area = TextArea();
    ScopedSelectObject font(dc, font_.get());
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColour = SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &area, Format());
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
}
