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

// What of the monitor the picture leaves showing: the whole monitor, or the
// bands above and below the picture and those beside it. A monitor that
// shows part of the picture can show the desktop beside it too, once
// another program has made it larger or moved it under the picture.
void AddUncovered(const RECT& monitor, const RECT& picture, std::vector<RECT>& areas) {
    RECT inside;
    if (!IntersectRect(&inside, &monitor, &picture)) {
        areas.push_back(monitor);
        return;
    }
    const RECT bands[] = {{monitor.left, monitor.top, monitor.right, inside.top},
                          {monitor.left, inside.bottom, monitor.right, monitor.bottom},
                          {monitor.left, inside.top, inside.left, inside.bottom},
                          {inside.right, inside.top, monitor.right, inside.bottom}};
    for (const RECT& band : bands)
        if (!IsRectEmpty(&band)) areas.push_back(band);
}

}  // namespace

void CoverMonitors(HINSTANCE instance, HWND picture) {
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
    std::vector<RECT> monitors, areas;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    for (const RECT& monitor : monitors) AddUncovered(monitor, picture, areas);
    size_t placed = 0;
    for (const RECT& area : areas) {
        if (placed == covers.windows.size()) {
            HWND cover = CreateWindowExA(kCoverExStyle, kCoverClass, kCoverTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                                         nullptr, covers.instance, nullptr);
            if (!cover) continue;
            covers.windows.push_back(cover);
        }
        SetWindowPos(covers.windows[placed++], HWND_TOPMOST, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
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
