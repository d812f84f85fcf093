// probe: asks Windows about another program's windows, for the end-to-end
// tests. One question per run; the answer on standard output (UTF-8).
//
//   probe find TITLE          class, rectangle and styles of the top-level
//                             window with that title; exit 1 if none
//   probe count TITLE         how many top-level windows have that title
//   probe wait TITLE MS       waits up to MS for the window; exit 1 if none
//   probe gone TITLE MS       waits up to MS for no such window; exit 1 if one
//   probe never TITLE MS      watches for MS; prints "never" or "seen"
//   probe close TITLE         posts WM_CLOSE to it
//   probe kill TITLE          ends its program at once, as a crash would
//   probe char TITLE CODE     posts WM_CHAR with that character code
//   probe mouse TITLE         posts a mouse move and a click to it
//   probe post TITLE MSG W    posts message MSG (decimal) with wParam W
//   probe children TITLE      its child windows, one a line: class, text,
//                             rectangle in its client area, enabled, visible
//   probe focus TITLE         class and text of the focused window of the
//                             thread that owns that window
//   probe box TITLE MS        waits up to MS for a message box captioned
//                             TITLE, prints its text, presses OK
//   probe cursor              "showing" or "hidden"
//   probe follow A B MS       waits up to MS for window A to go, then for B:
//                             prints the milliseconds between the two
//   probe lifetime TITLE MS   waits up to MS for the window to come and go:
//                             prints the milliseconds it was there
//   probe repaint X Y PX PY RRGGBB MS
//                             waits up to MS for the cursor to stand at
//                             (X, Y), then for the screen's pixel (PX, PY)
//                             to show that colour (each channel within 10):
//                             prints the milliseconds between the two
//   probe desktop             the desktop window's handle
//   probe mode DEVICE W H     switches that display (\\.\DISPLAY2) to W x H
//                             until the next restore; exit 1 if refused
//   probe host W H MS         a borderless top-level window "Preview Host",
//                             W x H; prints its handle; lives MS, or
//                             until it is sent WM_USER (then it destroys
//                             its window first and stays 2 s more)
//   probe hold FILE UNTIL     holds FILE open, sharing it with no one, as a
//                             virus scanner may; prints "held", then waits
//                             until the file UNTIL exists (60 s at most)
//   probe link FILE           the shortcut's target and arguments, as
//                             "target|arguments"
//
// Titles and files may be in any script: they are read from the wide
// command line, not through the system's code page. The watchers (never,
// follow, lifetime, repaint) first print "watching", so that a test acts
// only once they look.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &bytes[0], length, nullptr, nullptr);
    return bytes;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

// The text a control holds, asked of the control itself: another program's
// GetWindowText gives only the text the window was created with.
std::wstring ControlText(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &length);
    return text;
}

HWND FindTop(const std::wstring& title) { return FindWindowW(nullptr, title.c_str()); }

int Find(const std::wstring& title) {
    HWND window = FindTop(title);
    if (!window) {
        std::printf("none\n");
        return 1;
    }
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    RECT rect{};
    GetWindowRect(window, &rect);
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::printf("class=%s rect=%ld,%ld,%ld,%ld style=0x%08lx exstyle=0x%08lx visible=%d parent=%d "
                "client=%ld,%ld,%ld,%ld\n",
                className, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)), IsWindowVisible(window) ? 1 : 0,
                GetParent(window) ? 1 : 0, origin.x, origin.y, client.right, client.bottom);
    return 0;
}

struct Counting {
    std::wstring title;
    int count = 0;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM data) {
    auto& counting = *reinterpret_cast<Counting*>(data);
    if (TextOf(window) == counting.title) ++counting.count;
    return TRUE;
}

int Count(const std::wstring& title) {
    Counting counting{title};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&counting));
    std::printf("%d\n", counting.count);
    return 0;
}

// Looks every pause until a window with that title is there (or gone);
// false once ms have passed since start.
bool Until(const std::wstring& title, bool present, DWORD start, int ms, DWORD pause) {
    while ((FindTop(title) != nullptr) != present) {
        if (GetTickCount() - start > DWORD(ms)) return false;
        Sleep(pause);
    }
    return true;
}

int Wait(const std::wstring& title, int ms, bool present) { return Until(title, present, GetTickCount(), ms, 20) ? 0 : 1; }

void Watching() {
    std::printf("watching\n");
    std::fflush(stdout);
}

// Milliseconds since an earlier reading of the performance counter.
double MillisecondsSince(const LARGE_INTEGER& then) {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return double(now.QuadPart - then.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

int Never(const std::wstring& title, int ms) {
    Watching();
    bool seen = Until(title, true, GetTickCount(), ms, 5);
    std::printf(seen ? "seen\n" : "never\n");
    return seen ? 1 : 0;
}

int Post(const std::wstring& title, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = FindTop(title);
    if (!window || !PostMessageA(window, message, wParam, lParam)) return 1;
    return 0;
}

int Kill(const std::wstring& title) {
    DWORD id = 0;
    HWND window = FindTop(title);
    HANDLE process =
        window && GetWindowThreadProcessId(window, &id) ? OpenProcess(PROCESS_TERMINATE, FALSE, id) : nullptr;
    bool killed = process && TerminateProcess(process, 3);
    if (process) CloseHandle(process);
    return killed ? 0 : 1;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM data) {
    HWND top = reinterpret_cast<HWND>(data);
    char className[256] = {};
    GetClassNameA(child, className, sizeof className);
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%s|%s|%ld,%ld,%ld,%ld|enabled=%d|visible=%d\n", className, Utf8(ControlText(child)).c_str(), rect.left,
                rect.top, rect.right - rect.left, rect.bottom - rect.top, IsWindowEnabled(child) ? 1 : 0,
                IsWindowVisible(child) ? 1 : 0);
    return TRUE;
}

int Children(const std::wstring& title) {
    HWND top = FindTop(title);
    if (!top) return 1;
    EnumChildWindows(top, PrintChild, reinterpret_cast<LPARAM>(top));
    return 0;
}

int Focus(const std::wstring& title) {
    HWND top = FindTop(title);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!top || !GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return 1;
    char className[256] = {};
    if (info.hwndFocus) GetClassNameA(info.hwndFocus, className, sizeof className);
    std::printf("%s|%s\n", className, info.hwndFocus ? Utf8(ControlText(info.hwndFocus)).c_str() : "");
    return 0;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    if (!lstrcmpiA(className, "Static") && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
        std::wstring text = ControlText(child);
        if (!text.empty()) std::printf("%s\n", Utf8(text).c_str());
    }
    return TRUE;
}

int Box(const std::wstring& title, int ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < DWORD(ms)) {
        HWND box = FindWindowW(L"#32770", title.c_str());
        if (box) {
            Sleep(100);  // let it finish laying itself out
            EnumChildWindows(box, PrintStatic, 0);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(20);
    }
    std::printf("no box\n");
    return 1;
}

int Cursor() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) return 1;
    std::printf("%s\n", info.flags & CURSOR_SHOWING ? "showing" : "hidden");
    return 0;
}

// A window with that title there, or gone.
struct Sight {
    std::wstring title;
    bool present;
};

// Waits, within ms in all, for the first sight and then the second: prints
// the milliseconds between the two.
int Between(const Sight& first, const Sight& second, int ms) {
    Watching();
    DWORD start = GetTickCount();
    LARGE_INTEGER then;
    if (!Until(first.title, first.present, start, ms, 1)) return 1;
    QueryPerformanceCounter(&then);
    if (!Until(second.title, second.present, start, ms, 1)) return 1;
    std::printf("%.0f\n", MillisecondsSince(then));
    return 0;
}

bool Near(COLORREF colour, unsigned long rgb) {
    int wanted[3] = {int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)};
    int seen[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    for (int i = 0; i < 3; ++i)
        if (std::abs(wanted[i] - seen[i]) > 10) return false;
    return true;
}

int Repaint(POINT cursor, POINT pixel, unsigned long rgb, int ms) {
    Watching();
    DWORD start = GetTickCount();
    POINT at{};
    while (!GetCursorPos(&at) || at.x != cursor.x || at.y != cursor.y) {
        if (GetTickCount() - start > DWORD(ms)) return 1;
        Sleep(1);
    }
    LARGE_INTEGER moved;
    QueryPerformanceCounter(&moved);
    HDC screen = GetDC(nullptr);
    bool shown = false;
    while (!(shown = Near(GetPixel(screen, pixel.x, pixel.y), rgb)) && GetTickCount() - start <= DWORD(ms)) Sleep(1);
    ReleaseDC(nullptr, screen);
    if (!shown) return 1;
    std::printf("%.0f\n", MillisecondsSince(moved));
    return 0;
}

int Mode(const char* device, int width, int height) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = DWORD(width);
    mode.dmPelsHeight = DWORD(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExA(device, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int Host(int width, int height, int ms) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PreviewHost";
    RegisterClassW(&windowClass);
    // Borderless, as the Display control panel's preview window is.
    HWND window = CreateWindowExW(0, L"PreviewHost", L"Preview Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                                  100, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
    std::fflush(stdout);
    DWORD start = GetTickCount(), destroyed = 0;
    MSG message;
    while (GetTickCount() - start < DWORD(ms) && (!destroyed || GetTickCount() - destroyed < 2000)) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (!destroyed && !IsWindow(window)) destroyed = GetTickCount();
        Sleep(5);
    }
    return 0;
}

int Hold(const std::wstring& file, const std::wstring& until) {
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    DWORD start = GetTickCount();
    while (GetFileAttributesW(until.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 60000)
        Sleep(20);
    CloseHandle(held);
    return 0;
}

int Link(const std::wstring& file) {
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* persisted = nullptr;
    wchar_t target[MAX_PATH] = {}, arguments[1024] = {};
    bool read = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))) &&
                SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted))) &&
                SUCCEEDED(persisted->Load(file.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
                SUCCEEDED(link->GetArguments(arguments, 1024));
    if (persisted) persisted->Release();
    if (link) link->Release();
    CoUninitialize();
    if (!read) return 1;
    std::printf("%s|%s\n", Utf8(target).c_str(), Utf8(arguments).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide || count != argc) return 2;
    std::vector<std::wstring> text(wide, wide + count);
    LocalFree(wide);
    auto number = [&](int i) { return std::atoi(argv[i]); };
    if (argc == 3 && !std::strcmp(argv[1], "find")) return Find(text[2]);
    if (argc == 3 && !std::strcmp(argv[1], "count")) return Count(text[2]);
    if (argc == 4 && !std::strcmp(argv[1], "wait")) return Wait(text[2], number(3), true);
    if (argc == 4 && !std::strcmp(argv[1], "gone")) return Wait(text[2], number(3), false);
    if (argc == 4 && !std::strcmp(argv[1], "never")) return Never(text[2], number(3));
    if (argc == 3 && !std::strcmp(argv[1], "close")) return Post(text[2], WM_CLOSE, 0, 0);
    if (argc == 3 && !std::strcmp(argv[1], "kill")) return Kill(text[2]);
    if (argc == 4 && !std::strcmp(argv[1], "char")) return Post(text[2], WM_CHAR, number(3), 0);
    if (argc == 5 && !std::strcmp(argv[1], "post")) return Post(text[2], UINT(number(3)), WPARAM(number(4)), 0);
    if (argc == 3 && !std::strcmp(argv[1], "children")) return Children(text[2]);
    if (argc == 3 && !std::strcmp(argv[1], "focus")) return Focus(text[2]);
    if (argc == 4 && !std::strcmp(argv[1], "box")) return Box(text[2], number(3));
    if (argc == 2 && !std::strcmp(argv[1], "cursor")) return Cursor();
    if (argc == 5 && !std::strcmp(argv[1], "follow")) return Between({text[2], false}, {text[3], false}, number(4));
    if (argc == 4 && !std::strcmp(argv[1], "lifetime")) return Between({text[2], true}, {text[2], false}, number(3));
    if (argc == 8 && !std::strcmp(argv[1], "repaint"))
        return Repaint({number(2), number(3)}, {number(4), number(5)}, std::strtoul(argv[6], nullptr, 16), number(7));
    if (argc == 2 && !std::strcmp(argv[1], "desktop")) {
        std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(GetDesktopWindow())));
        return 0;
    }
    if (argc == 5 && !std::strcmp(argv[1], "mode")) return Mode(argv[2], number(3), number(4));
    if (argc == 5 && !std::strcmp(argv[1], "host")) return Host(number(2), number(3), number(4));
    if (argc == 4 && !std::strcmp(argv[1], "hold")) return Hold(text[2], text[3]);
    if (argc == 3 && !std::strcmp(argv[1], "link")) return Link(text[2]);
    if (argc == 3 && !std::strcmp(argv[1], "mouse")) {
        int failed = Post(text[2], WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
        failed |= Post(text[2], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        failed |= Post(text[2], WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
        return failed;
    }
    std::fprintf(stderr, "usage: probe find|count|wait|gone|never|close|char|mouse|post|children|focus|box|cursor|\n"
                         "       follow|lifetime|repaint|desktop|mode|host|hold|link|kill ...\n");
    return 2;
}
