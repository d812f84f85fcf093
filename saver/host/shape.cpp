#include "shape.h"

#include "runtime.h"

void Shape::Draw(HDC dc) const { DrawOutline(dc, bounds()); }

void DrawOutline(HDC dc, const RECT& box) {
    const int across = ScreenLineWidth(), down = ScreenLineWidth(LOGPIXELSY);
    const RECT sides[4] = {{box.left, box.top, box.right, box.top + down},
                           {box.left, box.bottom - down, box.right, box.bottom},
                           {box.left, box.top, box.left + across, box.bottom},
                           {box.right - across, box.top, box.right, box.bottom}};
    for (const RECT& side : sides) FillRect(dc, &side, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}
