// The program's own window classes for forms and picture boxes.
#pragma once

#include <windows.h>

// Registers the class, once: the default window procedure (each window
// installs its own after creation), the arrow cursor, and no background
// brush, since these windows paint all of themselves. False when the class
// cannot be registered.
bool RegisterPlainClass(const wchar_t* name);
