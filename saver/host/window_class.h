// The program's own window classes for forms, picture boxes and buttons.
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
