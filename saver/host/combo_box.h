// A drop-down combo box whose text can be typed, in the system's default
// GUI font.
#pragma once

#include <windows.h>

#include <string>

class ComboBox {
public:
    // A child of parent at (x, y), width pixels wide; its text field is
    // height pixels high as the font allows, and its list drops below.
    ComboBox(HWND parent, int x, int y, int width, int height);
    ~ComboBox();
    ComboBox(const ComboBox&) = delete;
    ComboBox& operator=(const ComboBox&) = delete;

    void AddItem(const std::wstring& item);
    void SetText(const std::wstring& text);
    std::wstring Text() const;
    void SetEnabled(bool enabled);

private:
    HWND window_ = nullptr;
};
