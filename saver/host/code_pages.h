// The front end's kinds of text. The program's own texts (captions,
// messages, INI keys) are code page 932 bytes, compiled so from the UTF-8
// sources. Paths and what else the system hands over in UTF-16 are held as
// UTF-8, so no letter is lost whatever the system's code page; what the
// system keeps in its ANSI code page (the settings file) is read in that.
// Each is turned into UTF-16 by its own rule before it reaches Windows, so
// Japanese shows on a system of any code page and a path shows as the
// system spells it.
#pragma once

#include <initializer_list>
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

// Whether WideCharToMultiByte takes WC_NO_BEST_FIT_CHARS for the code page.
// It fails outright when given that flag for UTF-8 (65001) and GB18030
// (54936), which take no flag but WC_ERR_INVALID_CHARS, and for the
// ISO-2022 pages (50220, 50221, 50222, 50225, 50227, 50229), ISCII (57002
// to 57011), UTF-7 (65000) and Symbol (42), which take none. Windows can
// run with UTF-8 as its system code page.
inline bool TakesNoBestFitFlag(unsigned codePage) {
    for (unsigned refusing : {42u, 50220u, 50221u, 50222u, 50225u, 50227u, 50229u, 54936u, 65000u, 65001u})
        if (codePage == refusing) return false;
    return codePage < 57002 || codePage > 57011;
}
