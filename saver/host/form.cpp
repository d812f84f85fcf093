#include "form.h"

#include <algorithm>

#include "code_pages.h"
#include "runtime.h"
#include "timer.h"
#include "window_class.h"

namespace {

const wchar_t kFormClass[] = L"OndrakeForm";
// How often the message loop looks for embedded forms whose host window
// has gone without telling them (its process ended).
constexpr UINT kOrphanCheckMs = 250;

std::vector<Form*> loadedForms;

DWORD StyleOf(BorderStyle border) {
    switch (border) {
        case BorderStyle::FixedSingle:
            return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        case BorderStyle::None:
            return WS_POPUP | WS_CLIPCHILDREN;
        default:
            return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    }
}

// A form embedded in a window of another program ends with that window.
// When that program destroys the window, the form's window goes with it
// (and its unload runs on WM_DESTROY). When that program ends without
// destroying it, the form's window may be freed here without a WM_DESTROY,
// or live on with a parent that is no longer a window.
void UnloadOrphanedForms() {
    std::vector<Form*> forms = loadedForms;
    for (Form* form : forms) {
        HWND window = form->window();
        if (!window) continue;
        bool gone = !IsWindow(window);
        // (GetParent would give the owner of a pop-up that was made a child.)
        if (!gone && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) gone = !IsWindow(GetAncestor(window, GA_PARENT));
        if (gone) UnloadForm(*form, UnloadMode::Destroyed);
    }
}

// A control of the form that can have the focus: shown, and enabled with
// every window between it and the form.
bool CanTakeFocus(HWND form, HWND control) {
    if (!control || !IsWindow(control) || !IsChild(form, control) || !IsWindowVisible(control)) return false;
    for (HWND window = control; window && window != form; window = GetParent(window))
        if (!IsWindowEnabled(window)) return false;
    return true;
}

bool IsOrphanCheck(const MSG& message, UINT_PTR timer) {
    return message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == timer;
}

// One message for the forms: Tab and the arrow keys move between a form's
// controls as in a dialog box.
void PumpOne(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    for (Form* form : loadedForms)
        if (root && form->window() == root && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// Runs messages until done() says so or the queue ends.
template <typename Done>
void MessageLoop(Done done) {
    UINT_PTR orphanCheck = SetTimer(nullptr, 0, kOrphanCheckMs, nullptr);
    MSG message;
    while (!done() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsOrphanCheck(message, orphanCheck))
            UnloadOrphanedForms();
        else
            PumpOne(message);
    }
    KillTimer(nullptr, orphanCheck);
}

}  // namespace

Form::Form(std::string caption) : caption_(std::move(caption)), canvas_(GetSysColor(COLOR_BTNFACE)) {}

Form::~Form() {
    if (window_) DestroyWindow(ReleaseWindow());
}

void Form::SetClientSizeTwips(int width, int height) {
    clientWidthTwips_ = width;
    clientHeightTwips_ = height;
}

void Form::Move(int left, int top) {
    if (!window_) return;
    SetWindowPos(window_, nullptr, ScreenPixelsFromTwips(left, TwipsPerPixelX()),
                 ScreenPixelsFromTwips(top, TwipsPerPixelY()), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Move(int left, int top, int width, int height) {
    if (!window_) return;
    float x = TwipsPerPixelX(), y = TwipsPerPixelY();
    MoveWindow(window_, ScreenPixelsFromTwips(left, x), ScreenPixelsFromTwips(top, y),
               ScreenPixelsFromTwips(width, x), ScreenPixelsFromTwips(height, y), TRUE);
}

int Form::WidthTwips() const {
    RECT rect{};
    GetWindowRect(window_, &rect);
    return TwipsFromScreenPixels(rect.right - rect.left, TwipsPerPixelX());
}

int Form::HeightTwips() const {
    RECT rect{};
    GetWindowRect(window_, &rect);
    return TwipsFromScreenPixels(rect.bottom - rect.top, TwipsPerPixelY());
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Form* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    // A handler's failure must not unwind through the system's frames.
    try {
        return form->Handle(message, wParam, lParam);
    } catch (...) {
        EndProgram();
    }
}

LRESULT Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (canvas_.Handle(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_SIZE:
            resized_ = true;
            OnResize();
            return 0;
        case WM_CLOSE:
            UnloadForm(*this, UnloadMode::FormControlMenu);
            return 0;
        case WM_QUERYENDSESSION:
            return UnloadForm(*this, UnloadMode::AppWindows) ? TRUE : FALSE;
        case WM_ENDSESSION:
            if (wParam) UnloadForm(*this, UnloadMode::AppWindows);
            return 0;
        case WM_DESTROY:
            // Only a window destroyed from outside gets here: an unloading
            // form lets go of its window first.
            Detach();
            return 0;
        case WM_TIMER:
            for (Timer* timer : timers_) {
                if (reinterpret_cast<UINT_PTR>(timer) != wParam) continue;
                if (timer->enabled()) timer->Tick();  // may unload the form
                break;
            }
            return 0;
        case WM_SETCURSOR:
            if (ApplyAppPointer()) return TRUE;
            break;
        case WM_CANCELMODE:
            CancelPress(window_);
            break;
        case WM_ACTIVATE:
            // Keep the focused control across deactivation, as a dialog box
            // does; the first control in the tab order gets it at first, and
            // instead of one disabled or hidden meanwhile.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(window_, focus)) lastFocus_ = focus;
            } else {
                HWND focus =
                    CanTakeFocus(window_, lastFocus_) ? lastFocus_ : GetNextDlgTabItem(window_, nullptr, FALSE);
                if (focus) SetFocus(focus);
                return 0;
            }
            break;
        default:
            break;
    }
    if (OnMessage(message, wParam, lParam, result)) return result;
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Form::Detach() {
    OnQueryUnload(UnloadMode::Destroyed);
    OnUnload();
    ReleaseWindow();
}

HWND Form::ReleaseWindow() {
    HWND window = window_;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    window_ = nullptr;
    loadedForms.erase(std::remove(loadedForms.begin(), loadedForms.end(), this), loadedForms.end());
    return window;
}

void LoadForm(Form& form) {
    if (form.window_) return;
    DWORD style = StyleOf(form.border_);
    int width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    if (form.clientWidthTwips_ > 0 && form.clientHeightTwips_ > 0) {
        RECT rect{0, 0, ScreenPixelsFromTwips(form.clientWidthTwips_, TwipsPerPixelX()),
                  ScreenPixelsFromTwips(form.clientHeightTwips_, TwipsPerPixelY())};
        AdjustWindowRectEx(&rect, style, FALSE, 0);
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
    form.window_ = CreatePlainWindow(kFormClass, 0, WideFromCp932(form.caption_).c_str(), style, CW_USEDEFAULT,
                                     CW_USEDEFAULT, width, height, nullptr, &form, &Form::WindowProc);
    if (!form.window_) return;
    form.canvas_.Attach(form.window_);
    if (form.icon_) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        for (auto [which, size] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
            int pixels = GetSystemMetrics(size);
            HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(form.icon_), IMAGE_ICON, pixels, pixels, LR_SHARED);
            SendMessageW(form.window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
        }
    }
    loadedForms.push_back(&form);
    for (Timer* timer : form.timers_) timer->Apply();
    form.OnLoad();
}

void ShowForm(Form& form, bool modal) {
    LoadForm(form);
    if (!form.loaded()) return;
    ShowWindow(form.window(), SW_SHOW);
    if (!form.resized_) {
        form.resized_ = true;
        form.OnResize();
    }
    if (!modal) return;
    MessageLoop([&form] { return !form.loaded(); });
}

bool UnloadForm(Form& form, UnloadMode mode) {
    if (!form.window_) return true;
    if (form.OnQueryUnload(mode)) return false;
    form.OnUnload();
    if (!form.window_) return true;  // the unload handler ended it already
    for (Timer* timer : form.timers_) KillTimer(form.window_, reinterpret_cast<UINT_PTR>(timer));
    DestroyWindow(form.ReleaseWindow());
    return true;
}

void RunWhileFormsLoaded() {
    MessageLoop([] { return loadedForms.empty(); });
}

HWND ActiveFormWindow() {
    HWND owner = nullptr;
    for (Form* form : loadedForms)
        if (IsWindowVisible(form->window())) owner = form->window();
    return owner;
}
