// Windows paths as the program holds them: UTF-8, so that every name
// Windows allows keeps all its letters, whatever the system's code page.
// No byte of a UTF-8 letter is a backslash, so a path is cut at its bytes.
// Portable.
#pragma once

#include <string>
#include <string_view>

// True when the path's last character is a backslash.
bool EndsWithBackslash(std::string_view path);

// The folder of a file's path: no trailing backslash, except at a drive
// root ("C:\"). A path without a backslash is its own folder.
std::string FolderOf(std::string_view path);

// folder + "\" + name, without doubling the backslash of a drive root.
std::string JoinPath(std::string_view folder, std::string_view name);

// A path as a file URI in plain ASCII ("C:\Музыка\a b.mp3" gives
// "file:///C:/%D0%9C...%D0%B0/a%20b.mp3", "\\server\share\x" gives
// "file://server/share/x"): readable in any code page. Letters, digits,
// "-._~" and ':' stay; every other byte is %XX.
std::string FileUriFromPath(std::string_view path);
// True for text that begins with "file:" (any case).
bool IsFileUri(std::string_view text);
// The path a file URI spells, false for text that is no such URI (another
// scheme, a bad %XX, a NUL).
bool PathFromFileUri(std::string_view uri, std::string& path);
