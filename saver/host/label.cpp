#include "label.h"

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

void Label::Draw(HDC dc) const {
    RECT area = bounds();
    if (border_) {
        FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&area, -2, -1);
    }
    ScopedSelectObject font(dc, font_.get());
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColour = SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &area, Format());
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
}
