// The three background-music settings, kept in "Ondrake.ini" beside the
// program, and the front end's other shared variables.
#pragma once

#include <cstdint>
#include <string>

#include "vb_text.h"

// Settings, one copy for the whole program; 0 or empty at start.
extern int16_t BgmKind;    // 0 none, 1 CD audio, 2 MP3 or WAV file
extern int16_t BgmRepeat;  // CD track to repeat; 0 repeats the whole disc
extern std::string BgmFile;  // full path of the MP3 or WAV file, UTF-8; empty for none
extern std::string IniValue; // the text LoadSettings read last, UTF-8
extern int32_t ApiResult;    // the return value of the last Win32 call
extern int CursorCount;      // ShowCursor's count when the cursor was hidden

// The INI section and keys, as code page 932 bytes.
extern const char kIniSection[];
extern const char kKeyBgmKind[];
extern const char kKeyBgmRepeat[];
extern const char kKeyBgmFile[];

// What LoadSettings reads through: the profile read and the file test of
// the platform, the INI file's path, and the user's number format. Texts
// and paths are UTF-8.
struct SettingsAccess {
    std::string (*readIniString)(const std::string& section, const std::string& key, const std::string& file);
    bool (*fileExists)(const std::string& path);
    std::string iniPath;
    NumberLocale locale;
};

// Fills BgmKind, BgmRepeat and BgmFile from the file. Numbers are rounded
// down; text that is no number, or out of the 16-bit range, leaves the
// setting as it was. A music file that is gone clears BgmFile, and a kind 2
// setting without its file falls back to 0. The music file's path is read
// back as IniTextOfPath wrote it.
void LoadSettings(const SettingsAccess& access);

// The text the settings file keeps for a path. The file is in the system's
// code page, so a path that the code page holds is kept as it stands, and
// the file reads as it always has; one with a letter the code page lacks
// would lose it, so it is kept as a file URI in plain ASCII instead. So is
// a path that itself begins with "file:", so that every text reads back as
// the path it was written for.
std::string IniTextOfPath(const std::string& path, bool codePageHoldsIt);
