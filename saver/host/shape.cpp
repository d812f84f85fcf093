#include "shape.h"

#include "gdi.h"

void Shape::SetBorderColour(COLORREF colour) {
    borderColour_ = colour;
    Refresh();
}

void Shape::Draw(HDC dc) const {
    OwnedBrush frame(CreateSolidBrush(borderColour_));
    FrameRect(dc, &bounds(), frame.get());
}
