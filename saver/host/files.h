// The few file operations of the front end. Paths are UTF-8.
#pragma once

#include <string>

#include "runtime.h"

// File number 1 opened for reading; closed by CloseInput or at the end.
Step OpenForInput(const std::string& path);
void CloseInput();
// Fails when the folder exists.
Step MakeDirectory(const std::string& path);
// Replaces an existing target.
Step CopyFileTo(const std::string& from, const std::string& to);
