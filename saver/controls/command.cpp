#include "command.h"

#include <array>
#include <optional>
#include <type_traits>

#include "bitmap_pixels.h"
#include "code_pages.h"
#include "font.h"
#include "gdi.h"
#include "resource_ids.h"
#include "runtime.h"
#include "window_class.h"

namespace {

const wchar_t kClassName[] = L"Sollvane.Command";
constexpr UINT_PTR kTmrMouse = 1;

// In the order of Face: the faces as drawn for 96 dots per inch, and the
// same drawn at twice their size.
constexpr std::array<int, kFaceCount> kFaceResources = {IDB_COMMAND_NORMAL,          IDB_COMMAND_HIGHLIGHT,
                                                        IDB_COMMAND_PRESSED,         IDB_COMMAND_DISABLE,
                                                        IDB_COMMAND_HIGHLIGHTSELECT, IDB_COMMAND_SELECTED};
constexpr std::array<int, kFaceCount> kLargeFaceResources = {
    IDB_COMMAND_NORMAL_2X,  IDB_COMMAND_HIGHLIGHT_2X,       IDB_COMMAND_PRESSED_2X,
    IDB_COMMAND_DISABLE_2X, IDB_COMMAND_HIGHLIGHTSELECT_2X, IDB_COMMAND_SELECTED_2X};

// The six faces at the screen's density, made once and shared by every
// button; in the order of Face. A face keeps its size in twips, so its
// pixels are those of the 96-dpi face, or, on a denser screen, those of
// the face drawn at twice the size scaled smoothly to the density, corners
// and edges each on their own so that the corners stay round and the
// bands keep their rings.
const std::array<OwnedBitmap, kFaceCount>& Faces() {
    static const std::array<OwnedBitmap, kFaceCount> faces = [] {
        const int width = ScreenPixels(kFaceWidth), height = ScreenPixels(kFaceHeight, LOGPIXELSY);
        const bool large = width > kFaceWidth || height > kFaceHeight;
        std::array<OwnedBitmap, kFaceCount> made;
        for (int i = 0; i < kFaceCount; ++i) {
            const int resource = (large ? kLargeFaceResources : kFaceResources)[i];
            OwnedBitmap loaded(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
            Pixels drawn = PixelsOf(loaded.get());
            if (drawn.values.empty()) continue;  // no face: the button shows its gradient
            made[i] = BitmapOf(ScaleFrame(drawn, kFaceBand * (large ? 2 : 1), width, height, ScreenPixels(kFaceBand),
                                          ScreenPixels(kFaceBand, LOGPIXELSY)));
        }
        return made;
    }();
    return faces;
}

// A rectangle in twips, at the screen's density, in its pixels: each edge
// to the nearest, so that pieces that meet in twips meet in pixels.
RECT PixelRect(int left, int top, int width, int height) {
    const float x = TwipsPerPixelX(), y = TwipsPerPixelY();
    return {ScreenPixelsFromTwips(left, x), ScreenPixelsFromTwips(top, y), ScreenPixelsFromTwips(left + width, x),
            ScreenPixelsFromTwips(top + height, y)};
}

// A colour property as GDI takes it: system colour codes looked up.
COLORREF ColourRef(uint32_t colour) {
    if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour & 0xFFFFFF;
}

}  // namespace

// The control's window and state. The Command owns it; each message
// handler holds it too while it runs, so a host that deletes the Command
// from a Click handler leaves the handler's object alive until it returns.
class CommandWindow : public std::enable_shared_from_this<CommandWindow> {
public:
    CommandWindow(Command* owner, const FontDesc& ambient) : ambient_(ambient), owner_(owner) {
        target_.paintFace = [this](Face face) { PaintFace(face); };
        target_.notify = [this](const char* property) { Notify(property); };
    }

    void Create(HWND parent, int x, int y, int width, int height);
    // The owner is going: no more events, and the window is destroyed.
    void Detach();
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Invalidate() {
        if (window_) InvalidateRect(window_, nullptr, FALSE);
    }
    // After a property operation: the caption or the enabled state may have
    // changed. The window follows both, so that a disabled button leaves the
    // Tab order (it cannot show focus) and takes no input, and so that the
    // system's accessibility tools and other programs read the caption.
    void Refresh() {
        if (!window_) return;
        bool enabled = fields_.Enabled != kFalse;
        if ((IsWindowEnabled(window_) != FALSE) != enabled) EnableWindow(window_, enabled ? TRUE : FALSE);
        if (target_.caption != captionShown_) {
            captionShown_ = target_.caption;
            wideCaption_ = WideFromCp932(captionShown_);
            SetWindowTextW(window_, wideCaption_.c_str());
        }
        Invalidate();
    }
    void StartPoll() {
        if (window_) SetTimer(window_, kTmrMouse, kPollMilliseconds, nullptr);
    }

    HWND window_ = nullptr;
    std::string captionShown_;  // the caption the window and the label show
    std::wstring wideCaption_;
    CommandFields fields_;
    CommandTarget target_;
    const FontDesc ambient_;

private:
    void Press(MouseButton button);
    // keys: the buttons still held, as the release message gives them.
    void Release(MouseButton button, WPARAM keys);
    void React(const Reaction& reaction);
    void PaintFace(Face face);
    void PaintBackground(HDC dc, int width, int height);
    void Paint();
    void DrawLabel(HDC dc, int width);
    void FillParentBackground(HDC dc, int width, int height);
    HFONT LabelFont();
    void Poll();
    void RaiseClick();
    void Notify(const char* property);

    Command* owner_;
    std::optional<BackBuffer> surface_;  // the persistent image the faces are painted into
    OwnedFont font_;
    FontDesc fontMade_;
    // LeftLine, TopLine, RightLine, BottomLine: along the edges until the
    // first face paint hides them.
    std::array<bool, 4> edgeLinesVisible_ = {true, true, true, true};
};

namespace {

LRESULT CALLBACK CommandProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<CommandWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control) return DefWindowProcW(window, message, wParam, lParam);
    std::shared_ptr<CommandWindow> hold = control->shared_from_this();
    // A handler's failure must not unwind through the system's frames.
    try {
        return hold->Handle(message, wParam, lParam);
    } catch (...) {
        EndProgram();
    }
}

}  // namespace

void CommandWindow::Create(HWND parent, int x, int y, int width, int height) {
    // The creation's own messages go to the default procedure: the
    // properties are read after it.
    window_ = CreatePlainWindow(kClassName, 0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, x, y,
                                width, height, parent, this, &CommandProc);
}

void CommandWindow::Detach() {
    owner_ = nullptr;
    if (window_) DestroyWindow(window_);
}

LRESULT CommandWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            // A primary press takes the focus.
            if (fields_.Enabled && GetFocus() != window_) SetFocus(window_);
            Press(MouseButton::Primary);
            return 0;
        case WM_RBUTTONDOWN: Press(MouseButton::Secondary); return 0;
        case WM_MBUTTONDOWN: Press(MouseButton::Middle); return 0;
        case WM_LBUTTONUP: Release(MouseButton::Primary, wParam); return 0;
        case WM_RBUTTONUP: Release(MouseButton::Secondary, wParam); return 0;
        case WM_MBUTTONUP: Release(MouseButton::Middle, wParam); return 0;
        case WM_CAPTURECHANGED:
            // Also after WM_CANCELMODE (a message box, or the button
            // disabled): the default procedure lets the mouse go there.
            if (reinterpret_cast<HWND>(lParam) != window_) React(CaptureLost(fields_));
            return 0;
        case WM_MOUSEMOVE: React(MouseMove(fields_)); return 0;
        case WM_SETFOCUS: React(FocusGained(fields_)); return 0;
        case WM_KILLFOCUS: React(FocusLost(fields_)); return 0;
        case WM_TIMER:
            if (wParam == kTmrMouse) Poll();
            return 0;
        case WM_SIZE: Resize(fields_, target_); return 0;
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;  // the paint covers every pixel
        case WM_GETDLGCODE:
            // No key of its own: Tab, the arrows, Enter and Esc stay with the
            // dialog manager, so IsDialogMessage moves the focus by Tab.
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            return 0;
        default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void CommandWindow::Press(MouseButton button) {
    if (window_) CaptureMouse(window_);
    React(MouseDown(fields_, button));
}

void CommandWindow::Release(MouseButton button, WPARAM keys) {
    // The press is over before the mouse is let go, so that letting it go
    // is no lost capture; and the mouse is let go before the Click, whose
    // handler may open a modal dialog or destroy the button.
    Reaction reaction = MouseUp(fields_, button);
    if (window_) ReleaseMouse(window_, keys);
    React(reaction);
}

void CommandWindow::React(const Reaction& reaction) {
    if (reaction.paint) PaintFace(*reaction.paint);
    // Last: the host's handler may destroy the button.
    if (reaction.click) RaiseClick();
}

void CommandWindow::RaiseClick() {
    if (!owner_ || !owner_->onClick) return;
    // A copy: deleting the Command from its handler deletes the original.
    std::function<void()> handler = owner_->onClick;
    handler();
}

void CommandWindow::Notify(const char* property) {
    if (!owner_ || !owner_->onPropertyChanged) return;
    std::function<void(const char*)> handler = owner_->onPropertyChanged;
    handler(property);
}

void CommandWindow::Poll() {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    // The parent form's window counts as outside, like any other.
    if (WindowFromPoint(cursor) != window_) React(MouseLeave(fields_));
}

void CommandWindow::PaintFace(Face face) {
    if (!window_) return;
    RECT client{};
    GetClientRect(window_, &client);
    const int width = client.right, height = client.bottom;
    PlanFace(fields_, TwipsFromScreenPixels(width, TwipsPerPixelX()),
             TwipsFromScreenPixels(height, TwipsPerPixelY()));
    if (!surface_ || surface_->width() != width || surface_->height() != height) {
        ScopedGetDC windowDC(window_);
        surface_.emplace(windowDC.get(), width, height);
    }
    if (!surface_->ready()) return;
    HDC dc = surface_->dc();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    PaintBackground(dc, width, height);

    MemoryDC source(dc);
    ScopedSelectObject image(source.get(), Faces()[static_cast<int>(face)].get());
    if (image.selected()) {
        SetStretchBltMode(dc, COLORONCOLOR);
        for (const Piece& piece : fields_.slices.pieces) {
            const RECT to = PixelRect(piece.left, piece.top, piece.width, piece.height);
            const RECT from = PixelRect(piece.sourceLeft, piece.sourceTop, piece.sourceWidth, piece.sourceHeight);
            // Below two corners the edges have no length left to fill.
            if (to.right <= to.left || to.bottom <= to.top) continue;
            StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source.get(), from.left, from.top,
                       from.right - from.left, from.bottom - from.top, SRCCOPY);
        }
    }
    Invalidate();
    edgeLinesVisible_ = {false, false, false, false};
}

void CommandWindow::PaintBackground(HDC dc, int width, int height) {
    std::array<Vertex, 2> vertices = GradientVertices(fields_.GradientReversed, width, height);
    TRIVERTEX Vertices[2];
    for (int i = 0; i < 2; ++i)
        Vertices[i] = {vertices[i].x,     vertices[i].y,    vertices[i].red,
                       vertices[i].green, vertices[i].blue, vertices[i].alpha};
    GRADIENT_RECT GradientRect = {0, 1};
    GradientFill(dc, Vertices, 2, &GradientRect, 1, GRADIENT_FILL_RECT_V);
}

void CommandWindow::Paint() {
    ScopedPaint paint(window_);
    RECT client{};
    GetClientRect(window_, &client);
    const int width = client.right, height = client.bottom;
    // Composed off screen, so the caption never flickers over the face.
    BackBuffer frame(paint.get(), width, height);
    if (!frame.ready()) return;
    if (target_.backStyle && surface_ && surface_->ready())
        BitBlt(frame.dc(), 0, 0, width, height, surface_->dc(), 0, 0, SRCCOPY);
    else
        FillParentBackground(frame.dc(), width, height);
    const int line = ScreenLineWidth();
    const RECT edges[4] = {{0, 0, line, height},
                           {0, 0, width, line},
                           {width - line, 0, width, height},
                           {0, height - line, width, height}};
    for (int i = 0; i < 4; ++i)
        if (edgeLinesVisible_[i]) FillRect(frame.dc(), &edges[i], GetSysColorBrush(COLOR_WINDOWTEXT));
    DrawLabel(frame.dc(), width);
    BitBlt(paint.get(), 0, 0, width, height, frame.dc(), 0, 0, SRCCOPY);
}

// A transparent button shows the face colour of the forms it stands on
// under its caption.
void CommandWindow::FillParentBackground(HDC dc, int width, int height) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
}

void CommandWindow::DrawLabel(HDC dc, int width) {
    RECT box = PixelRect(0, fields_.slices.LabelTop, 0, kLabelHeight);
    box.right = width;
    ScopedSelectObject font(dc, LabelFont());
    SetBkMode(dc, TRANSPARENT);
    const std::wstring& text = wideCaption_;
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    if (target_.labelEnabled) {
        SetTextColor(dc, ColourRef(target_.fontColour));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
        return;
    }
    // The system's disabled style: embossed grey.
    RECT shifted = box;
    OffsetRect(&shifted, ScreenLineWidth(), ScreenLineWidth(LOGPIXELSY));
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shifted, format);
    SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

HFONT CommandWindow::LabelFont() {
    if (font_ && fontMade_ == target_.font) return font_.get();
    font_ = CreateScreenFont(target_.font);
    fontMade_ = target_.font;
    return font_.get();
}

Command::Command(HWND parent, int x, int y, int width, int height, const PropertyBag& stored, const FontDesc& ambient)
    : window_(std::make_shared<CommandWindow>(this, ambient)) {
    window_->Create(parent, x, y, width, height);
    ReadProperties(window_->fields_, window_->target_, stored, ambient);
    Resize(window_->fields_, window_->target_);
    window_->Refresh();
}

Command::~Command() { window_->Detach(); }

HWND Command::window() const { return window_->window_; }

// The container's change notice, raised from inside the operation, may
// delete this Command: the operation and the refresh work on a hold of the
// window, and nothing here touches the Command after the operation.
template <typename Operation>
auto Command::Operate(Operation operation) {
    std::shared_ptr<CommandWindow> hold = window_;
    if constexpr (std::is_void_v<std::invoke_result_t<Operation, CommandWindow&>>) {
        operation(*hold);
        hold->Refresh();
    } else {
        auto result = operation(*hold);
        hold->Refresh();
        return result;
    }
}

std::string Command::Caption() const { return window_->target_.caption; }

void Command::SetCaption(const std::string& text) {
    Operate([&](CommandWindow& control) { ::SetCaption(control.target_, text); });
}

bool Command::Enabled() {
    return Operate([](CommandWindow& control) { return GetEnabled(control.fields_, control.target_); });
}

void Command::SetEnabled(bool enabled) {
    Operate([&](CommandWindow& control) { ::SetEnabled(control.fields_, control.target_, enabled); });
}

uint8_t Command::Visible() {
    return Operate([](CommandWindow& control) { return GetVisible(control.fields_, control.target_); });
}

void Command::SetVisible(uint8_t value) {
    Operate([&](CommandWindow& control) { ::SetVisible(control.fields_, control.target_, value); });
}

uint32_t Command::FontColour() {
    return Operate([](CommandWindow& control) { return GetFontColour(control.fields_, control.target_); });
}

void Command::SetFontColour(uint32_t colour) {
    Operate([&](CommandWindow& control) { ::SetFontColour(control.fields_, control.target_, colour); });
}

FontDesc Command::Font() const { return window_->target_.font; }

void Command::SetFont(const FontDesc& font) {
    Operate([&](CommandWindow& control) { ::SetFont(control.target_, font); });
}

void Command::Initialize() {
    ::Initialize(window_->fields_);
    window_->StartPoll();
}

void Command::WriteProperties(PropertyBag& bag) {
    Operate([&](CommandWindow& control) {
        ::WriteProperties(control.fields_, control.target_, bag, control.ambient_);
    });
}
