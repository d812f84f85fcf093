#include "settings_win32.h"

#include <windows.h>

#include "code_pages.h"
#include "files.h"
#include "paths.h"
#include "runtime.h"

std::string ReadIniString(const std::string& section, const std::string& key, const std::string& file) {
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, file.c_str());
    return buffer;
}

std::string WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file) {
    // The section and key go through 128-character buffers; longer names
    // are cut there.
    std::string sectionBuffer = section.substr(0, 127), keyBuffer = key.substr(0, 127);
    ApiResult = WritePrivateProfileStringA(sectionBuffer.c_str(), keyBuffer.c_str(), value.c_str(), file.c_str());
    return {};
}

bool FileExists(std::string path) {
    if (EndsWithBackslash(path, IsSystemLeadByte)) path.pop_back();
    bool exists = OpenForInput(path).ok;
    CloseInput();
    return exists;
}

std::string IniPath() { return JoinPath(ProgramFolder(), "Ondrake.ini", IsSystemLeadByte); }

NumberLocale UserNumberLocale() {
    NumberLocale locale;
    char text[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 1) locale.decimal = text[0];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, sizeof text) > 1) locale.group = text[0];
    return locale;
}

namespace {

bool FileExistsByValue(const std::string& path) { return FileExists(path); }

}  // namespace

SettingsAccess WindowsSettingsAccess() { return SettingsAccess{ReadIniString, FileExistsByValue, IniPath(), UserNumberLocale()}; }
