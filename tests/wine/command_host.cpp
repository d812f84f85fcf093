// command_host: a small window with Command buttons, run under Wine by
// command_test.sh.
//
//   command_host show LOG   the window "CommandHost" at the screen's top
//                           left with buttons A, B, C (disabled) and D, whose
//                           Click closes the window and deletes every button
//                           from inside the handler. Writes to LOG: a line
//                           "button NAME LEFT TOP WIDTH HEIGHT" (screen
//                           pixels) per button, "ready", "click NAME" per
//                           Click, "tick" per mouse-leave poll of button A,
//                           "closed", and "end" when the program ends.
//   command_host checks     in-process checks against the real Windows
//                           functions; one line per failed check, figures,
//                           and a closing "N passed, N failed" line.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "checks.h"
#include "command.h"
#include "gdi.h"

namespace {

const char kCaptionA[] = "設定";
const char kCaptionB[] = "ｷｬﾝｾﾙ";
const char kCaptionD[] = "閉じる";

struct Placement {
    const char* name;
    int x, y, width, height;
    const char* caption;
    bool enabled;
};
// The sizes of the settings dialog's buttons.
const Placement kButtons[] = {
    {"A", 16, 16, 73, 25, kCaptionA, true},
    {"B", 100, 16, 69, 25, kCaptionB, true},
    {"C", 180, 18, 29, 21, "...", false},
    {"D", 16, 60, 125, 25, kCaptionD, true},
};

HWND host = nullptr;
std::vector<std::unique_ptr<Command>> buttons;
FILE* logFile = nullptr;

void Log(const std::string& line) {
    if (!logFile) return;
    std::fprintf(logFile, "%s\n", line.c_str());
    std::fflush(logFile);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeHost() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"CommandHost";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, L"CommandHost", L"CommandHost", WS_POPUP | WS_VISIBLE, 0, 0, 240, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// A stored set as the settings dialog keeps it: caption and font only.
PropertyBag StoredSet(const char* caption) {
    PropertyBag bag;
    bag.Set("caption", caption);
    bag.Set("font", FontText(DesignFont()));
    return bag;
}

const FontDesc kAmbient = {"Tahoma", 8, 400, false, false, false, 0};

void MakeButtons() {
    for (const Placement& p : kButtons) {
        buttons.push_back(std::make_unique<Command>(host, p.x, p.y, p.width, p.height, StoredSet(p.caption), kAmbient));
        if (!p.enabled) buttons.back()->SetEnabled(false);
    }
    for (auto& button : buttons) button->Initialize();
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageW(host, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// Pumps messages for about the given time.
void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Pump();
    } while (GetTickCount() - start < milliseconds);
}

int Show(const char* logPath) {
    logFile = std::fopen(logPath, "w");
    host = MakeHost();
    MakeButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        const char* name = kButtons[i].name;
        buttons[i]->onClick = [name, i] {
            Log(std::string("click ") + name);
            if (i == 3) {
                DestroyWindow(host);
                buttons.clear();
                Log("closed");
            }
        };
        RECT r;
        GetWindowRect(buttons[i]->window(), &r);
        char line[80];
        std::snprintf(line, sizeof line, "button %s %ld %ld %ld %ld", name, r.left, r.top, r.right - r.left,
                      r.bottom - r.top);
        Log(line);
    }
    SetFocus(host);
    UpdateWindow(host);
    Log("ready");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // A timer message comes only once the input and the paints before
        // it are done: a test waits for ticks to know that they are.
        if (message.message == WM_TIMER && !buttons.empty() && message.hwnd == buttons[0]->window()) Log("tick");
        if (host && IsWindow(host) && IsDialogMessageW(host, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    Log("end");
    std::fclose(logFile);
    return 0;
}

// In-process checks.

COLORREF Pixel(HWND window, int x, int y) {
    ScopedGetDC dc(window);
    return GetPixel(dc.get(), x, y);
}

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

std::string Hex(COLORREF c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// The face shown: ring 2's top colour in the middle of the top edge, and
// whether the gradient is darker at the top.
struct Look {
    std::string ring2;
    bool darkTop;
};
Look LookOf(const Command& button) {
    HWND window = button.window();
    RECT r;
    GetClientRect(window, &r);
    return {Hex(Pixel(window, r.right / 2, 2)),
            Brightness(Pixel(window, 6, 4)) < Brightness(Pixel(window, 6, r.bottom - 5))};
}

double Milliseconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Waits, pumping messages, until the button shows that ring colour; the
// milliseconds from start, or -1 after a second.
double WaitForLook(const Command& button, const std::string& ring2, double start) {
    for (;;) {
        Pump();
        double elapsed = Milliseconds() - start;
        if (LookOf(button).ring2 == ring2) return elapsed;
        if (elapsed > 1000) return -1;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

// GDI objects of this process. Wine's GetGuiResources answers 0; there the
// measure is how many more objects the process can still create, which
// falls by one for every object leaked.
struct GdiMeasure {
    const char* how;
    long count;
};
GdiMeasure MeasureGdi() {
    DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (objects) return {"GetGuiResources(GR_GDIOBJECTS)", static_cast<long>(objects)};
    std::vector<HBRUSH> brushes;
    brushes.reserve(70000);
    while (brushes.size() < 70000) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush) break;
        brushes.push_back(brush);
    }
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return {"free GDI handles (objects that can still be created)", static_cast<long>(brushes.size())};
}

void CheckFacesAndCaption() {
    Command& a = *buttons[0];
    Command& c = *buttons[2];
    Pump();
    UpdateWindow(host);
    Check(LookOf(a).ring2 == "F3F3EE", "A shows the Normal face from the resources: " + LookOf(a).ring2);
    Check(!LookOf(a).darkTop, "Normal: light gradient top");
    Check(Hex(Pixel(c.window(), 14, 1)) == "C9C7BA", "C shows the Disable face: " + Hex(Pixel(c.window(), 14, 1)));
    Check(Hex(Pixel(a.window(), 1, 1)) != "003C74", "the corner is rounded");

    // Caption: dark text pixels only in the label's rows (5 to 17 for 25
    // px), grey embossed ones on the disabled button.
    int inside = 0, outside = 0;
    for (int y = 4; y < 21; ++y)
        for (int x = 8; x < 65; ++x)
            if (Brightness(Pixel(a.window(), x, y)) < 200) (y >= 5 && y < 18 ? inside : outside)++;
    Check(inside > 10 && outside == 0, "the caption draws in its label: " + std::to_string(inside) + " dark pixels, " +
                                           std::to_string(outside) + " outside");
    int grey = 0, black = 0;
    COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    for (int y = 3; y < 18; ++y)
        for (int x = 4; x < 25; ++x) {
            COLORREF p = Pixel(c.window(), x, y);
            if (p == shadow) ++grey;
            if (Brightness(p) < 100) ++black;
        }
    Check(grey > 0 && black == 0, "the disabled caption is grey: " + std::to_string(grey) + " grey pixels, " +
                                      std::to_string(black) + " black");
}

void CheckHoverAndLeave() {
    Command& a = *buttons[0];
    RECT r;
    GetWindowRect(a.window(), &r);
    const int trials = 12;
    double total = 0, longest = 0, shortest = 1e9;
    bool all = true;
    for (int i = 0; i < trials; ++i) {
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(a.window(), WM_MOUSEMOVE, 0, MAKELPARAM(30, 12));
        bool hovered = WaitForLook(a, "FFF0CF", Milliseconds()) >= 0;
        if (i == 0) {
            Check(hovered, "hover shows HighLight");
            Check(LookOf(a).darkTop, "HighLight: the gradient is reversed");
        }
        // Leave at a different moment of the poll each time.
        PumpFor(static_cast<DWORD>(i * 97 % 100));
        // Timed from before the move: the cursor leaves during the call.
        double start = Milliseconds();
        SetCursorPos(600, 400);
        double delay = WaitForLook(a, "F3F3EE", start);
        all = all && hovered && delay >= 0;
        total += delay;
        longest = std::max(longest, delay);
        shortest = std::min(shortest, delay);
    }
    std::printf("leave restores Normal after %.1f ms on average, %.1f to %.1f ms (%d trials)\n", total / trials,
                shortest, longest, trials);
    Check(all, "every leave restored Normal");
    // The 100 ms poll, with the timer's and the paint's latency.
    Check(longest < 250, "leave restored Normal within about 100 ms");
}

void CheckTab() {
    SetFocus(buttons[0]->window());
    auto tab = [] {
        MSG message{};
        message.hwnd = GetFocus();
        message.message = WM_KEYDOWN;
        message.wParam = VK_TAB;
        message.lParam = 0x000F0001;
        return IsDialogMessageW(host, &message);
    };
    Check(tab() && GetFocus() == buttons[1]->window(), "Tab moves from A to B");
    Check(tab() && GetFocus() == buttons[3]->window(), "Tab passes over the disabled C");
    Pump();
    Check(LookOf(*buttons[3]).ring2 == "CEE7FF", "the focused button shows Selected: " + LookOf(*buttons[3]).ring2);
    Check(LookOf(*buttons[1]).ring2 == "F3F3EE", "the one left shows Normal");
    buttons[2]->SetEnabled(true);
    SetFocus(buttons[1]->window());
    Check(tab() && GetFocus() == buttons[2]->window(), "re-enabled, C takes the focus by Tab");
    buttons[2]->SetEnabled(false);
}

void CheckNoGdiGrowth() {
    Command& a = *buttons[0];
    HWND w = a.window();
    int clicks = 0;
    a.onClick = [&clicks] { ++clicks; };
    FontDesc bigger = DesignFont();
    bigger.points = 12;
    SetCursorPos(600, 400);
    // Eight face paints, each shown, through every drawing path.
    auto cycle = [&](int i) {
        SendMessageW(w, WM_MOUSEMOVE, 0, 0);  // HighLight
        UpdateWindow(w);
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, 0);  // focus and press: Pressed twice
        UpdateWindow(w);
        SendMessageW(w, WM_LBUTTONUP, 0, 0);  // HighLightSelect, Click
        UpdateWindow(w);
        SetFocus(host);  // Normal
        UpdateWindow(w);
        a.SetEnabled(false);  // Disable
        UpdateWindow(w);
        a.SetEnabled(true);  // Normal
        UpdateWindow(w);
        a.SetFont(i % 2 ? bigger : DesignFont());
        a.SetVisible(0);  // the parent's background under the caption
        UpdateWindow(w);
        a.SetVisible(1);  // Normal
        UpdateWindow(w);
        Pump();
    };
    // Once through first, so that lazily made objects exist.
    cycle(1);
    cycle(0);
    clicks = 0;
    GdiMeasure before = MeasureGdi();
    const int cycles = 125;
    for (int i = 0; i < cycles; ++i) cycle(i);
    GdiMeasure after = MeasureGdi();
    std::printf("GDI objects by %s: %ld before, %ld after %d face paints\n", before.how, before.count, after.count,
                cycles * 8);
    Check(before.count > 0 && before.count == after.count, "no GDI object leaks over the repaints");
    Check(clicks == cycles, "one Click per press and release: " + std::to_string(clicks));
    a.onClick = nullptr;

    // Buttons made and destroyed give back everything they held.
    GdiMeasure start = MeasureGdi();
    for (int i = 0; i < 50; ++i) {
        Command temporary(host, 100, 60, 60, 25, StoredSet("x"), kAmbient);
        temporary.Initialize();
        UpdateWindow(temporary.window());
    }
    GdiMeasure end = MeasureGdi();
    std::printf("GDI objects by %s: %ld before, %ld after 50 buttons made and destroyed\n", start.how, start.count,
                end.count);
    Check(start.count == end.count, "destroyed buttons release their GDI objects");
}

// A press whose capture is taken away (by another window, or cancelled as
// when a message box appears) and released elsewhere: the button shows its
// state's face again, and its next click raises Click.
void CheckCaptureLost() {
    HWND w = buttons[0]->window();
    RECT r;
    GetWindowRect(w, &r);
    int clicks = 0;
    buttons[0]->onClick = [&clicks] { ++clicks; };
    auto press = [w, &r] {
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(w, WM_MOUSEMOVE, 0, 0);
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    };
    for (bool cancelled : {false, true}) {
        SetFocus(host);
        clicks = 0;
        press();
        if (cancelled) {
            SendMessageW(w, WM_CANCELMODE, 0, 0);
        } else {
            SetCapture(host);  // another window takes the mouse
            ReleaseCapture();
        }
        Pump();
        std::string face = LookOf(*buttons[0]).ring2;
        SetCursorPos(600, 400);
        WaitForLook(*buttons[0], "CEE7FF", Milliseconds());
        press();
        SendMessageW(w, WM_LBUTTONUP, 0, 0);
        Check(face == "FFF0CF" && clicks == 1, std::string(cancelled ? "a press cancelled" : "the capture taken") +
                                                   ": the HighLightSelect face again (" + face + "), then a Click");
    }
    buttons[0]->onClick = nullptr;
}

// A host may delete the button from its own handlers.
void CheckDeleteFromHandlers() {
    auto button = std::make_unique<Command>(host, 100, 60, 60, 25, StoredSet("x"), kAmbient);
    button->Initialize();
    HWND window = button->window();
    std::string seen;
    button->onClick = [&button, &seen] {
        button.reset();
        seen = "deleted";
    };
    SendMessageW(window, WM_MOUSEMOVE, 0, 0);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(window, WM_LBUTTONUP, 0, 0);
    Check(seen == "deleted" && !button && !IsWindow(window), "deleting the button from Click");

    button = std::make_unique<Command>(host, 100, 60, 60, 25, StoredSet("x"), kAmbient);
    window = button->window();
    button->onPropertyChanged = [&button](const char*) { button.reset(); };
    button->SetEnabled(false);  // notifies, then repaints
    Check(!button && !IsWindow(window), "deleting the button from its change notice");
}

void CheckProperties() {
    PropertyBag written;
    buttons[0]->WriteProperties(written);
    std::string keys;
    for (const auto& entry : written.entries()) keys += entry.first + " ";
    Check(keys == "Caption Font ", "a dialog button writes its caption and font only: " + keys);

    FontDesc stored = {"Arial", 12, 700, false, false, false, 0};
    PropertyBag bag;
    bag.Set("font", FontText(stored));
    bag.Set("fontcolour", "255");
    Command restored(host, 100, 60, 60, 25, bag, kAmbient);
    Check(restored.Font() == stored, "a stored font comes back with its size and weight");
    Check(restored.Caption() == "Command1", "a missing caption reads as Command1");
    Check(restored.FontColour() == 255, "a stored colour without FirstRun is kept");
    Check(restored.Visible() == 255, "Visible reads 255");
}

int Checks() {
    host = MakeHost();
    MakeButtons();
    CheckFacesAndCaption();
    CheckTab();
    CheckHoverAndLeave();
    CheckCaptureLost();
    CheckNoGdiGrowth();
    CheckDeleteFromHandlers();
    CheckProperties();
    buttons.clear();
    DestroyWindow(host);
    return PrintCheckCount();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "show")) return Show(argv[2]);
    if (argc == 2 && !std::strcmp(argv[1], "checks")) return Checks();
    std::fprintf(stderr, "usage: command_host show LOG | checks\n");
    return 2;
}
