#include "shape.h"

void Shape::Draw(HDC dc) const { FrameRect(dc, &bounds(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); }
