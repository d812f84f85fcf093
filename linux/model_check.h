// The model file, opened once for the reader: a missing file, a folder or a
// device (which would block or never end) gives one clear line instead of a
// read, and the file that was checked is the very file that is read, even
// if its path names another one by then.
#pragma once

#include <string>

// A descriptor of the regular file at path, open for reading, which the
// caller closes; or -1, with why not in problem ("No such file or
// directory", "not a regular file", ...).
int OpenModelFile(const std::string& path, std::string& problem);
