// Windows paths as byte strings in the system's code page. In a double-byte
// code page such as 932 the second byte of many characters is 0x5C, the
// backslash (能, 表, ソ), so a path is read character by character, never
// by its last byte. Portable: the lead-byte test is handed in.
#pragma once

#include <string>
#include <string_view>

using LeadByteTest = bool (*)(unsigned char byte);

// Byte offset of the last backslash that is a character of its own, or
// npos.
size_t LastBackslash(std::string_view path, LeadByteTest isLeadByte);

// True when the path's last character is a backslash.
bool EndsWithBackslash(std::string_view path, LeadByteTest isLeadByte);

// The folder of a file's path: no trailing backslash, except at a drive
// root ("C:\"). A path without a backslash is its own folder.
std::string FolderOf(std::string_view path, LeadByteTest isLeadByte);

// folder + "\" + name, without doubling the backslash of a drive root.
std::string JoinPath(std::string_view folder, std::string_view name, LeadByteTest isLeadByte);
