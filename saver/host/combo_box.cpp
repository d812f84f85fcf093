#include "combo_box.h"

#include "window_class.h"

namespace {

// Room for this many items in the dropped list before it scrolls.
constexpr int kListItems = 8;

}  // namespace

ComboBox::ComboBox(HWND parent, int x, int y, int width, int height) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    window_ = CreateWindowExW(0, L"COMBOBOX", L"", style, x, y, width, height * (kListItems + 1), parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) return;
    // Marks the window as this box's: once it has gone with its parent, its
    // handle may name another window, which is not this box's to destroy.
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

ComboBox::~ComboBox() {
    if (OwnsWindow(window_, this)) DestroyWindow(window_);
}

void ComboBox::AddItem(const std::wstring& item) {
    SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ComboBox::SetText(const std::wstring& text) { SetWindowTextW(window_, text.c_str()); }

std::wstring ComboBox::Text() const {
    int length = GetWindowTextLengthW(window_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window_, &text[0], length + 1)));
    return text;
}

void ComboBox::SetEnabled(bool enabled) { EnableWindow(window_, enabled ? TRUE : FALSE); }
