#include "monitor_covers.h"

#include <vector>

namespace {

const char kCoverClass[] = "Sollvane_Cover";
const char kCoverTitle[] = "Sollvane_Cover";
// Above other programs' windows, out of the taskbar and the task switcher,
// never activated.
constexpr DWORD kCoverExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

struct CoverState {
    HINSTANCE instance = nullptr;
    HWND picture = nullptr;  // held while the covers are up
    std::vector<HWND> windows;
};

CoverState covers;

LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A click activates the window under it unless that window declines,
    // and the active window is the one that gets the keys.
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT place, LPARAM monitors) {
    reinterpret_cast<std::vector<RECT>*>(monitors)->push_back(*place);
    return TRUE;
}

}  // namespace

void CoverOtherMonitors(HINSTANCE instance, HWND picture) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CoverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kCoverClass;
    if (!RegisterClassA(&windowClass)) return;
    covers.instance = instance;
    covers.picture = picture;
    PlaceCovers();
}

void PlaceCovers() {
    if (!covers.picture) return;
    RECT picture{};
    GetWindowRect(covers.picture, &picture);
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    size_t placed = 0;
    for (const RECT& monitor : monitors) {
        // A monitor that shows any of the picture stays open: the picture's
        // own, or one that mirrors it.
        RECT overlap;
        if (IntersectRect(&overlap, &monitor, &picture)) continue;
        if (placed == covers.windows.size()) {
            HWND cover = CreateWindowExA(kCoverExStyle, kCoverClass, kCoverTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                                         nullptr, covers.instance, nullptr);
            if (!cover) continue;
            covers.windows.push_back(cover);
        }
        SetWindowPos(covers.windows[placed++], HWND_TOPMOST, monitor.left, monitor.top, monitor.right - monitor.left,
                     monitor.bottom - monitor.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    while (covers.windows.size() > placed) {
        DestroyWindow(covers.windows.back());
        covers.windows.pop_back();
    }
}

void RemoveCovers() {
    for (HWND cover : covers.windows) DestroyWindow(cover);
    covers.windows.clear();
    if (covers.picture) UnregisterClassA(kCoverClass, covers.instance);
    covers.picture = nullptr;
}
