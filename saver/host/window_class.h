// The program's own window classes for forms, picture boxes and buttons,
// whose window is whose, and how those windows hold the mouse.
#pragma once

#include <windows.h>

// Registers the class, once: the default window procedure (each window
// installs its own after creation), the arrow cursor, and no background
// brush, since these windows paint all of themselves. False when the class
// cannot be registered.
bool RegisterPlainClass(const wchar_t* name);

// A window of such a class, registered first when needed, whose messages go
// to procedure with owner in its GWLP_USERDATA. The messages of the creation
// itself go to the default procedure, before owner is ready for them. Null
// when the window cannot be made.
HWND CreatePlainWindow(const wchar_t* className, DWORD exStyle, const wchar_t* caption, DWORD style, int x, int y,
                       int width, int height, HWND parent, void* owner, WNDPROC procedure);

// True while window is a window that still carries owner in its
// GWLP_USERDATA: a handle kept after its window was destroyed may name
// another window by now.
bool OwnsWindow(HWND window, const void* owner);

// The mouse as these windows hold it: a press on one of them belongs to it
// until the last button is released, wherever the cursor goes meanwhile, so
// the release comes back to it and no other window takes that release for a
// click of its own.
void CaptureMouse(HWND window);
// After a release; keys: the buttons still held, as the release message's
// wParam gives them. Lets the mouse go once none of the three is held.
void ReleaseMouse(HWND window, WPARAM keys);
// On WM_CANCELMODE, which Windows sends the active window when a dialog or
// message box appears, and a window being disabled: lets the mouse go when
// this window or any inside it holds a press, so that the holder (told by
// WM_CAPTURECHANGED) forgets it and no press outlives the cancellation.
void CancelPress(HWND window);
