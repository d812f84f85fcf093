// The settings file through the Windows profile functions.
#pragma once

#include <string>

#include "settings.h"

// GetPrivateProfileStringA into a 256-byte buffer: at most 255 bytes back;
// a missing file, section or key gives the empty text.
std::string ReadIniString(const std::string& section, const std::string& key, const std::string& file);
// WritePrivateProfileStringA; creates the file. The result goes to
// ApiResult; a failed write is not reported. Returns the empty text.
std::string WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file);
// True when the path (one trailing backslash removed) opens for reading: a
// folder, a missing or an unreadable file give false.
bool FileExists(std::string path);

// Program folder + "\Ondrake.ini".
std::string IniPath();
// The user's decimal and group separators.
NumberLocale UserNumberLocale();
// Everything LoadSettings needs, from this system.
SettingsAccess WindowsSettingsAccess();
