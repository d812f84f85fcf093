#include "picture_box.h"

#include "runtime.h"
#include "window_class.h"

namespace {

const wchar_t kPictureClass[] = L"OndrakePicture";

}  // namespace

PictureBox::PictureBox(HWND parent, int x, int y, int width, int height, COLORREF background)
    : canvas_(background) {
    window_ = CreatePlainWindow(kPictureClass, WS_EX_CONTROLPARENT, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, width, height,
                                parent, this, &PictureBox::WindowProc);
    if (window_) canvas_.Attach(window_);
}

PictureBox::~PictureBox() {
    if (!OwnsWindow(window_, this)) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

LRESULT CALLBACK PictureBox::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<PictureBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!box) return DefWindowProcW(window, message, wParam, lParam);
    try {
        LRESULT result = 0;
        if (box->canvas_.Handle(message, wParam, lParam, result)) return result;
        if (message == WM_CANCELMODE) CancelPress(window);
        if (message == WM_DESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            box->window_ = nullptr;
        }
    } catch (...) {
        EndProgram();
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
