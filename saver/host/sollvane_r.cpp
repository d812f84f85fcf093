#include "sollvane_r.h"

#include "resource_ids.h"
#include "settings.h"

Sollvane_R::Sollvane_R() : Form("Preview Window") {
    SetBorderStyle(BorderStyle::None);
    SetBackColour(RGB(0, 0, 0));
    SetClientSizeTwips(2595, 1935);
    // The still is made for the standard 152 x 112 box; a box of another
    // size shows all of it, scaled, rather than a corner of it.
    Img_Prev.SetStretch(true);
    Img_Prev.SetBounds(0, 0, 152, 112);
    Img_Prev.SetPicture(Picture::FromJpegResource(IDR_PREVIEW_JPEG));
    canvas().Add(Img_Prev);
}

void Sollvane_R::OnUnload() { ApiResult = PostMessageA(window(), WM_CLOSE, 0, 0); }
