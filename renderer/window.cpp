// Ondrake.dll: the renderer program. A full-screen OpenGL window titled
// "Sollvane_VC" that shows the explosion scene until Esc or WM_CLOSE; the
// front end watches for that window by its title.
#include <windows.h>

#include <mmsystem.h>

#include <cstddef>

#include "monitor_covers.h"
#include "scene.h"

namespace {

const char kTitle[] = "Sollvane_VC";
const char kClassName[] = "OpenGL";
const char kModelPath[] = "C:\\qorbel\\Ondrake.3DS";
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr DWORD kStyle = WS_POPUP;

struct RendererState {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC glContext = nullptr;
    bool fullScreen = false;
    bool done = false;
    PAINTSTRUCT paint{};
};

RendererState renderer;
SceneState scene;

uint32_t TickCount() { return GetTickCount(); }
uint32_t FrameTime() { return timeGetTime(); }
void SetTitle(const char* title) { SetWindowTextA(renderer.window, title); }
void Swap() { SwapBuffers(wglGetCurrentDC()); }

void CloseRenderWindow() {
    RemoveCovers();
    if (renderer.fullScreen) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
        renderer.fullScreen = false;
    }
    if (renderer.glContext) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(renderer.glContext);
        renderer.glContext = nullptr;
    }
    if (renderer.deviceContext) {
        ReleaseDC(renderer.window, renderer.deviceContext);
        renderer.deviceContext = nullptr;
    }
    if (renderer.window) {
        DestroyWindow(renderer.window);
        renderer.window = nullptr;
    }
    UnregisterClassA(kClassName, renderer.instance);
}

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            ResizeView(LOWORD(lParam), HIWORD(lParam));
            PostMessageA(window, WM_PAINT, 0, 0);
            return 0;
        case WM_PAINT:
            RenderFrame(scene);
            BeginPaint(window, &renderer.paint);
            EndPaint(window, &renderer.paint);
            return 0;
        case WM_CHAR:
            if (wParam == 27) PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        case WM_DISPLAYCHANGE:
            PlaceCovers();
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool OpenRenderWindow(const char* title, int width, int height, int bits) {
    renderer.instance = GetModuleHandleA(nullptr);

    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = RendererWindowProc;
    windowClass.hInstance = renderer.instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return false;

    // The request names the structure as it was before the panning fields
    // (148 bytes), not the larger one of today's headers (156).
    constexpr WORD kDevModeSize = offsetof(DEVMODEA, dmPanningWidth);
    static_assert(kDevModeSize == 148, "DEVMODEA without its panning fields");
    DEVMODEA mode{};
    mode.dmSize = kDevModeSize;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = bits;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) return false;
    renderer.fullScreen = true;

    ShowCursor(FALSE);

    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
    renderer.window = CreateWindowExA(kExStyle, kClassName, title, kStyle | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                      rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                      renderer.instance, nullptr);
    if (!renderer.window) {
        CloseRenderWindow();
        return false;
    }

    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(bits);
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    renderer.deviceContext = GetDC(renderer.window);
    int chosen = renderer.deviceContext ? ChoosePixelFormat(renderer.deviceContext, &format) : 0;
    if (!chosen || !SetPixelFormat(renderer.deviceContext, chosen, &format) ||
        !(renderer.glContext = wglCreateContext(renderer.deviceContext)) ||
        !wglMakeCurrent(renderer.deviceContext, renderer.glContext)) {
        CloseRenderWindow();
        return false;
    }

    ShowWindow(renderer.window, SW_SHOW);
    SetForegroundWindow(renderer.window);
    SetFocus(renderer.window);
    CoverMonitors(renderer.instance, renderer.window);

    FitView(scene, width, height);
    SetUpScene(scene, SceneHost{kModelPath, TickCount, FrameTime, SetTitle, Swap});
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    renderer.instance = instance;
    if (!OpenRenderWindow(kTitle, 1024, 768, 32)) return 1;
    MSG message{};
    while (!renderer.done) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                renderer.done = true;
            } else {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else {
            RenderFrame(scene);
        }
    }
    ReleaseScene(scene);
    CloseRenderWindow();
    return static_cast<int>(message.wParam);
}
