// The settings file through the Windows profile functions. The file is in
// the system's code page; the program's texts and paths are UTF-8 (the
// section and key, the program's own texts, excepted).
#pragma once

#include <string>

#include "settings.h"

// The value, whole: a path of up to the 254 characters the open-file dialog
// gives, in the code page (up to 508 bytes in code page 932) or as a file
// URI; a missing file, section or key gives the empty text.
std::string ReadIniString(const std::string& section, const std::string& key, const std::string& file);
// Writes the value as WritePrivateProfileStringA does; creates the file.
// The result goes to ApiResult; a failed write is not reported. Returns the
// empty text.
std::string WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file);
// True when the path (one trailing backslash removed) opens for reading: a
// folder, a missing or an unreadable file give false.
bool FileExists(std::string path);

// Program folder + "\Ondrake.ini".
std::string IniPath();
// The text the settings file keeps for the music file's path on this
// system (IniTextOfPath).
std::string IniTextOfMusicFile(const std::string& path);
// The user's decimal and group separators.
NumberLocale UserNumberLocale();
// Everything LoadSettings needs, from this system.
SettingsAccess WindowsSettingsAccess();
