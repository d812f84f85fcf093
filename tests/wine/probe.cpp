// probe: asks Windows about another program's windows, for the end-to-end
// tests. One question per run; the answer on standard output.
//
//   probe find TITLE          class, rectangle and styles of the top-level
//                             window with that title; exit 1 if none
//   probe wait TITLE MS       waits up to MS for the window; exit 1 if none
//   probe gone TITLE MS       waits up to MS for no such window; exit 1 if one
//   probe never TITLE MS      watches for MS; prints "never" or "seen"
//   probe close TITLE         posts WM_CLOSE to it
//   probe char TITLE CODE     posts WM_CHAR with that character code
//   probe mouse TITLE         posts a mouse move and a click to it
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Find(const char* title) {
    HWND window = FindWindowA(nullptr, title);
    if (!window) {
        std::printf("none\n");
        return 1;
    }
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    RECT rect{};
    GetWindowRect(window, &rect);
    std::printf("class=%s rect=%ld,%ld,%ld,%ld style=0x%08lx exstyle=0x%08lx visible=%d parent=%d\n", className,
                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)), IsWindowVisible(window) ? 1 : 0,
                GetParent(window) ? 1 : 0);
    return 0;
}

int Wait(const char* title, int ms, bool present) {
    DWORD start = GetTickCount();
    for (;;) {
        if ((FindWindowA(nullptr, title) != nullptr) == present) return 0;
        if (GetTickCount() - start > DWORD(ms)) return 1;
        Sleep(20);
    }
}

int Never(const char* title, int ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < DWORD(ms)) {
        if (FindWindowA(nullptr, title)) {
            std::printf("seen\n");
            return 1;
        }
        Sleep(5);
    }
    std::printf("never\n");
    return 0;
}

int Post(const char* title, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = FindWindowA(nullptr, title);
    if (!window || !PostMessageA(window, message, wParam, lParam)) return 1;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "find")) return Find(argv[2]);
    if (argc == 4 && !std::strcmp(argv[1], "wait")) return Wait(argv[2], std::atoi(argv[3]), true);
    if (argc == 4 && !std::strcmp(argv[1], "gone")) return Wait(argv[2], std::atoi(argv[3]), false);
    if (argc == 4 && !std::strcmp(argv[1], "never")) return Never(argv[2], std::atoi(argv[3]));
    if (argc == 3 && !std::strcmp(argv[1], "close")) return Post(argv[2], WM_CLOSE, 0, 0);
    if (argc == 4 && !std::strcmp(argv[1], "char")) return Post(argv[2], WM_CHAR, std::atoi(argv[3]), 0);
    if (argc == 3 && !std::strcmp(argv[1], "mouse")) {
        int failed = Post(argv[2], WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
        failed |= Post(argv[2], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        failed |= Post(argv[2], WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
        return failed;
    }
    std::fprintf(stderr, "usage: probe find|wait|gone|never|close|char|mouse TITLE [ARG]\n");
    return 2;
}
