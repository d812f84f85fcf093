// Whether the hack can read the model file at all, before the reader tries:
// so a missing file, a folder or a device (which would block or never end)
// gives one clear line instead of a read.
#pragma once

#include <string>

// Empty when path is a regular file that opens for reading; otherwise why
// not ("No such file or directory", "not a regular file", ...).
std::string ModelFileProblem(const std::string& path);
