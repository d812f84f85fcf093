#include "runtime.h"

#include <algorithm>
#include <cstdio>

const char kAppTitle[] = "Ondrake (ScreenSaver)";

namespace {

HANDLE inputFile = INVALID_HANDLE_VALUE;  // file number 1
std::vector<Form*> loadedForms;

int ScreenDpi(int axis) {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, axis) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void RegisterFormClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"OndrakeForm";
    registered = RegisterClassW(&windowClass) != 0;
}

// Messages for all forms, from the one message loop or a modal one.
void PumpOne(MSG& message) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

void Must(Step step) {
    if (!step.ok) EndProgram();
}

std::wstring WideFromCp932(const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

void MsgBox(const std::string& text) {
    HWND owner = nullptr;
    for (Form* form : loadedForms)
        if (IsWindowVisible(form->window())) owner = form->window();
    MessageBoxW(owner, WideFromCp932(text).c_str(), WideFromCp932(kAppTitle).c_str(), MB_OK);
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
    std::string folder(path, length);
    size_t slash = folder.find_last_of('\\');
    if (slash == std::string::npos) return folder;
    // "C:\Ondrake.scr" lives in "C:\", the drive root keeps its backslash.
    return folder.substr(0, slash == 2 && folder[1] == ':' ? slash + 1 : slash);
}

float TwipsPerPixelX() { return 1440.0f / static_cast<float>(ScreenDpi(LOGPIXELSX)); }
float TwipsPerPixelY() { return 1440.0f / static_cast<float>(ScreenDpi(LOGPIXELSY)); }
int ScreenWidthTwips() { return static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX()); }
int ScreenHeightTwips() { return static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY()); }

Step OpenForInput(const std::string& path) {
    CloseInput();
    inputFile = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    return {inputFile != INVALID_HANDLE_VALUE};
}

void CloseInput() {
    if (inputFile != INVALID_HANDLE_VALUE) CloseHandle(inputFile);
    inputFile = INVALID_HANDLE_VALUE;
}

Step MakeDirectory(const std::string& path) { return {CreateDirectoryA(path.c_str(), nullptr) != FALSE}; }

Step CopyFileTo(const std::string& from, const std::string& to) {
    return {CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE};
}

Step StartProgram(const std::string& path, int windowStyle) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + path + "\"";
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return {false};
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {true};
}

void EndProgram() {
    CloseInput();
    ExitProcess(0);
}

Form::Form(std::string caption) : caption_(std::move(caption)) {}

Form::~Form() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        loadedForms.erase(std::remove(loadedForms.begin(), loadedForms.end(), this), loadedForms.end());
    }
}

void Form::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (window_) SetWindowTextW(window_, WideFromCp932(caption_).c_str());
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
    switch (message) {
        case WM_SIZE:
            OnResize();
            return 0;
        case WM_CLOSE:
            UnloadForm(*this);
            return 0;
        case WM_TIMER:
            for (Timer* timer : timers_)
                if (reinterpret_cast<UINT_PTR>(timer) == wParam && timer->enabled_) timer->onTick_();
            return 0;
        default:
            if (OnMessage(message, wParam, lParam, result)) return result;
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void LoadForm(Form& form) {
    if (form.window_) return;
    RegisterFormClass();
    form.window_ = CreateWindowExW(0, L"OndrakeForm", WideFromCp932(form.caption_).c_str(),
                                   WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, 320, 240, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!form.window_) return;
    SetWindowLongPtrW(form.window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&form));
    SetWindowLongPtrW(form.window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::WindowProc));
    loadedForms.push_back(&form);
    for (Timer* timer : form.timers_) timer->Apply();
    form.OnLoad();
}

void ShowForm(Form& form, bool modal) {
    LoadForm(form);
    if (!form.loaded()) return;
    ShowWindow(form.window(), SW_SHOW);
    if (!modal) return;
    MSG message;
    while (form.loaded() && GetMessageW(&message, nullptr, 0, 0) > 0) PumpOne(message);
}

bool UnloadForm(Form& form) {
    if (!form.window_) return true;
    if (form.OnQueryUnload()) return false;
    form.OnUnload();
    for (Timer* timer : form.timers_) KillTimer(form.window_, reinterpret_cast<UINT_PTR>(timer));
    HWND window = form.window_;
    form.window_ = nullptr;
    loadedForms.erase(std::remove(loadedForms.begin(), loadedForms.end(), &form), loadedForms.end());
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    return true;
}

void RunWhileFormsLoaded() {
    MSG message;
    while (!loadedForms.empty() && GetMessageW(&message, nullptr, 0, 0) > 0) PumpOne(message);
}

Timer::Timer(Form& owner, std::function<void()> onTick) : owner_(owner), onTick_(std::move(onTick)) {
    owner_.timers_.push_back(this);
}

Timer::~Timer() {
    if (owner_.window_) KillTimer(owner_.window_, reinterpret_cast<UINT_PTR>(this));
    owner_.timers_.erase(std::remove(owner_.timers_.begin(), owner_.timers_.end(), this), owner_.timers_.end());
}

void Timer::SetInterval(unsigned milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void Timer::Apply() {
    if (!owner_.window_) return;
    UINT_PTR id = reinterpret_cast<UINT_PTR>(this);
    if (enabled_ && interval_ > 0)
        SetTimer(owner_.window_, id, interval_, nullptr);
    else
        KillTimer(owner_.window_, id);
}
