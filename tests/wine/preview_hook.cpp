// preview_hook.dll: takes the preview's host window away at the worst
// moment, for frontend_test.sh.
//
//   rundll32 preview_hook.dll,Install MS
//
// hooks window creation in every program on the display for MS
// milliseconds; a window "Preview Hook" tells when the hook is in place.
// When a program makes a window titled "Preview Window", the hook, running
// inside that program before the window exists, has the window "Preview
// Host" (probe host) destroy itself and waits until it has: the program
// looked at its host a moment ago and finds it gone when it embeds its
// preview.
#include <windows.h>

#include <cstdlib>

namespace {

HMODULE self = nullptr;

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const wchar_t* name = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->lpszName;
        if (name && !IS_INTRESOURCE(name) && !lstrcmpW(name, L"Preview Window")) {
            if (HWND host = FindWindowW(nullptr, L"Preview Host")) {
                DWORD_PTR result = 0;
                SendMessageTimeoutW(host, WM_USER, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

// The hook lives while the thread that set it runs its messages. Once it
// is set, a window titled "Preview Hook", never shown, says so.
extern "C" __declspec(dllexport) void CALLBACK Install(HWND, HINSTANCE, LPSTR milliseconds, int) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, CbtProc, self, 0);
    if (!hook) return;
    CreateWindowExW(0, L"STATIC", L"Preview Hook", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, self, nullptr);
    DWORD start = GetTickCount(), limit = static_cast<DWORD>(std::atoi(milliseconds));
    MSG message;
    while (GetTickCount() - start < limit) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    UnhookWindowsHookEx(hook);
}
