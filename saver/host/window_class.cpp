#include "window_class.h"

bool RegisterPlainClass(const wchar_t* name) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    if (GetClassInfoW(instance, name, &windowClass)) return true;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0;
}

HWND CreatePlainWindow(const wchar_t* className, DWORD exStyle, const wchar_t* caption, DWORD style, int x, int y,
                       int width, int height, HWND parent, void* owner, WNDPROC procedure) {
    if (!RegisterPlainClass(className)) return nullptr;
    HWND window = CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    return window;
}

bool OwnsWindow(HWND window, const void* owner) {
    return window && IsWindow(window) &&
           reinterpret_cast<const void*>(GetWindowLongPtrW(window, GWLP_USERDATA)) == owner;
}

void CaptureMouse(HWND window) {
    if (GetCapture() != window) SetCapture(window);
}

void ReleaseMouse(HWND window, WPARAM keys) {
    if (!(keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == window) ReleaseCapture();
}

void CancelPress(HWND window) {
    HWND holder = GetCapture();
    if (holder && (holder == window || IsChild(window, holder))) ReleaseCapture();
}
