// The front end's two kinds of text. The program's own texts (captions,
// messages, INI keys) are code page 932 bytes, compiled so from the UTF-8
// sources; text that comes from the system (paths from the open-file
// dialog, the settings file, the command line) is in the system's ANSI code
// page. Each is turned into UTF-16 by its own code page before it is shown,
// so Japanese shows on a system of any code page and a path shows as the
// system spelled it.
#pragma once

#include <string>

std::wstring WideFromCp932(const std::string& text);
std::wstring WideFromAnsi(const std::string& text);
// Characters the ANSI code page cannot hold become its default character.
std::string AnsiFromWide(const std::wstring& text);
// The program's text in the system's code page, for the A functions.
std::string AnsiFromCp932(const std::string& text);

// True for the first byte of a double-byte character in the system's code
// page.
bool IsSystemLeadByte(unsigned char byte);
