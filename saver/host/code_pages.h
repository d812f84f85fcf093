// The front end's kinds of text. The program's own texts (captions,
// messages, INI keys) are code page 932 bytes, compiled so from the UTF-8
// sources. Paths and what else the system hands over in UTF-16 are held as
// UTF-8, so no letter is lost whatever the system's code page; what the
// system keeps in its ANSI code page (the settings file) is read in that.
// Each is turned into UTF-16 by its own rule before it reaches Windows, so
// Japanese shows on a system of any code page and a path shows as the
// system spells it.
#pragma once

#include <string>

std::wstring WideFromCp932(const std::string& text);
std::wstring WideFromAnsi(const std::string& text);
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
// Characters the ANSI code page cannot hold become its default character.
std::string AnsiFromWide(const std::wstring& text);
// True when the ANSI code page spells the text exactly, letter for letter
// (no default character, no look-alike in place of a letter it lacks).
bool AnsiHolds(const std::wstring& text);
