// Our runtime layer over Win32 for the front end: the program's argument
// text and folder, screen units, the message box, the application-wide
// mouse pointer, starting another program and ending this one. Forms,
// timers, controls and files have files of their own beside this one.
//
// Fallible operations return a Step. A handler that skips errors passes it
// to Skip (the failing statement is abandoned and the next one runs); one
// without error handling passes it to Must, and a failure ends the program.
#pragma once

#include <windows.h>

#include <string>

#include "unique_handle.h"

struct [[nodiscard]] Step {
    bool ok;
};
inline void Skip(Step) {}
void Must(Step step);

// The caption of the front end's message boxes.
extern const char kAppTitle[];

// The text (program text, code page 932), an OK button, no icon, the
// application title as caption; waits for OK.
void MsgBox(const std::string& text);

// The command line without the program path, UTF-8.
std::string ArgumentText();
// The folder of the program file, UTF-8; a trailing backslash only at a
// drive root.
std::string ProgramFolder();

// The screen's dots per inch along LOGPIXELSX or LOGPIXELSY, fixed for the
// program's life.
int ScreenDpi(int axis);

// Screen units: twips per pixel from the screen's dots per inch (15 at 96),
// and the primary screen's size in twips.
float TwipsPerPixelX();
float TwipsPerPixelY();
// Twips to screen pixels and back at a twips-per-pixel scale such as the
// two above, rounded to the nearest.
int ScreenPixelsFromTwips(int twips, float twipsPerPixel);
int TwipsFromScreenPixels(int pixels, float twipsPerPixel);
int ScreenWidthTwips();
int ScreenHeightTwips();
// A length the forms are designed with, in pixels at 96 dots per inch (15
// twips each), in the screen's pixels along LOGPIXELSX or LOGPIXELSY.
int ScreenPixels(int designPixels, int axis = LOGPIXELSX);
// A line one pixel wide at 96 dots per inch, in whole pixels of the
// screen: one for every 96 dots per inch it holds, so that a thin line
// stays thin and sharp (one at 150 %, two at 200 %).
int ScreenLineWidth(int axis = LOGPIXELSX);

// The pointer every window of the program shows: each window's own, or the
// hourglass while the program is busy.
enum class AppPointer { Default, Hourglass };
void SetAppPointer(AppPointer pointer);
// Sets the hourglass for a window asking for its cursor (WM_SETCURSOR);
// false when each window shows its own.
bool ApplyAppPointer();

// Starts a program file (its path UTF-8) with a window style (1: normal,
// with focus); the started process, when asked for, lets the caller follow
// it.
Step StartProgram(const std::string& path, int windowStyle, UniqueHandle* process = nullptr);

// Stops at once: no unload handler runs; open files are closed.
[[noreturn]] void EndProgram();
