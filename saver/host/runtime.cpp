#include "runtime.h"

#include <algorithm>
#include <cmath>

#include "code_pages.h"
#include "files.h"
#include "form.h"
#include "paths.h"
#include "start_up.h"

const char kAppTitle[] = "Ondrake (ScreenSaver)";

namespace {

AppPointer appPointer = AppPointer::Default;

// The program file's full path, as long as Windows makes it.
std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

// A path in its full, long form, or as it stands when it names no file.
std::wstring LongFullPath(const std::wstring& path) {
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    if (full.empty()) return path;
    full.resize(GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr));
    std::wstring longer(GetLongPathNameW(full.c_str(), nullptr, 0), L'\0');
    if (longer.empty()) return full;
    longer.resize(GetLongPathNameW(full.c_str(), &longer[0], static_cast<DWORD>(longer.size())));
    return longer;
}

// True when the text names this program's file, in any spelling Windows
// takes: relative, short, in other letter case.
bool NamesThisProgram(const std::string& candidate) {
    static const std::wstring self = LongFullPath(ProgramPath());
    std::wstring named = LongFullPath(WideFromUtf8(candidate));
    return CompareStringOrdinal(named.c_str(), static_cast<int>(named.size()), self.c_str(),
                                static_cast<int>(self.size()), TRUE) == CSTR_EQUAL;
}

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

std::string ArgumentText() { return ArgumentsOf(Utf8FromWide(GetCommandLineW()), NamesThisProgram); }

std::string ProgramFolder() { return FolderOf(Utf8FromWide(ProgramPath())); }

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
int ScreenPixels(int designPixels, int axis) {
    return ScreenPixelsFromTwips(designPixels * 15, axis == LOGPIXELSX ? TwipsPerPixelX() : TwipsPerPixelY());
}
int ScreenLineWidth(int axis) { return std::max(1, ScreenDpi(axis) / 96); }

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
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION started{};
    std::wstring program = WideFromUtf8(path), commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
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
