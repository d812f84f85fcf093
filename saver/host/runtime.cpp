#include "runtime.h"

#include <cmath>

#include "code_pages.h"
#include "files.h"
#include "form.h"
#include "paths.h"

const char kAppTitle[] = "Ondrake (ScreenSaver)";

namespace {

AppPointer appPointer = AppPointer::Default;

int ReadScreenDpi(int axis) {
    ScopedGetDC screen(nullptr);
    int dpi = screen.get() ? GetDeviceCaps(screen.get(), axis) : 96;
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int ScreenDpi(int axis) {
    static const int x = ReadScreenDpi(LOGPIXELSX), y = ReadScreenDpi(LOGPIXELSY);
    return axis == LOGPIXELSX ? x : y;
}

void Must(Step step) {
    if (!step.ok) EndProgram();
}

void MsgBox(const std::string& text) {
    MessageBoxW(ActiveFormWindow(), WideFromCp932(text).c_str(), WideFromCp932(kAppTitle).c_str(), MB_OK);
}

std::string ArgumentText() {
    const char* line = GetCommandLineA();
    // Skip the program path, quoted or not, then the blanks after it.
    if (*line == '"') {
        ++line;
        while (*line && *line != '"') ++line;
        if (*line == '"') ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

std::string ProgramFolder() {
    char path[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return FolderOf(std::string(path, length), IsSystemLeadByte);
}

float TwipsPerPixelX() { return 1440.0f / static_cast<float>(ScreenDpi(LOGPIXELSX)); }
float TwipsPerPixelY() { return 1440.0f / static_cast<float>(ScreenDpi(LOGPIXELSY)); }
int ScreenWidthTwips() { return static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX()); }
int ScreenHeightTwips() { return static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY()); }
int ScreenPixelsFromTwips(int twips, float twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}
int TwipsFromScreenPixels(int pixels, float twipsPerPixel) {
    return static_cast<int>(std::lround(pixels * twipsPerPixel));
}
int ScreenPixels(int designPixels) { return ScreenPixelsFromTwips(designPixels * 15, TwipsPerPixelX()); }

void SetAppPointer(AppPointer pointer) {
    if (pointer == appPointer) return;
    appPointer = pointer;
    if (pointer == AppPointer::Hourglass) {
        ApplyAppPointer();
    } else {
        // Let our window under the cursor choose its own again, as it would
        // on the next mouse move. Another program's window is not asked: it
        // never showed our hourglass, and it may not answer.
        POINT at{};
        HWND under = GetCursorPos(&at) ? WindowFromPoint(at) : nullptr;
        if (under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId()) {
            LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
            SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
        }
    }
}

bool ApplyAppPointer() {
    if (appPointer != AppPointer::Hourglass) return false;
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    return true;
}

Step StartProgram(const std::string& path, int windowStyle, UniqueHandle* process) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION started{};
    std::string commandLine = "\"" + path + "\"";
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return {false};
    UniqueHandle thread(started.hThread);  // not followed
    UniqueHandle owned(started.hProcess);
    if (process) *process = std::move(owned);
    return {true};
}

void EndProgram() {
    CloseInput();
    ExitProcess(0);
}
