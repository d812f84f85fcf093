#include "settings_win32.h"

#include <windows.h>

#include <vector>

#include "code_pages.h"
#include "files.h"
#include "paths.h"
#include "runtime.h"

namespace {

// Room for the file URI of the longest path the open-file dialog gives
// (254 characters, each at most nine bytes as %XX of its UTF-8).
constexpr DWORD kValueRoom = 4096;

// The section and key are the program's text, which the profile functions
// have always taken as bytes in the system's code page and written to the
// file as such. Read the same way here, they keep those bytes: code page
// 932 keys on every system.
std::wstring ProfileName(const std::string& name) { return WideFromAnsi(name); }

}  // namespace

std::string ReadIniString(const std::string& section, const std::string& key, const std::string& file) {
    std::vector<wchar_t> buffer(kValueRoom, L'\0');
    GetPrivateProfileStringW(ProfileName(section).c_str(), ProfileName(key).c_str(), L"", buffer.data(), kValueRoom,
                             WideFromUtf8(file).c_str());
    return Utf8FromWide(buffer.data());
}

std::string WriteIniString(const std::string& section, const std::string& key, const std::string& value,
                           const std::string& file) {
    // The section and key go through 128-character buffers; longer names
    // are cut there.
    std::string sectionBuffer = section.substr(0, 127), keyBuffer = key.substr(0, 127);
    ApiResult = WritePrivateProfileStringW(ProfileName(sectionBuffer).c_str(), ProfileName(keyBuffer).c_str(),
                                           WideFromUtf8(value).c_str(), WideFromUtf8(file).c_str());
    return {};
}

bool FileExists(std::string path) {
    if (EndsWithBackslash(path)) path.pop_back();
    bool exists = OpenForInput(path).ok;
    CloseInput();
    return exists;
}

std::string IniPath() { return JoinPath(ProgramFolder(), "Ondrake.ini"); }

std::string IniTextOfMusicFile(const std::string& path) {
    return IniTextOfPath(path, AnsiHolds(WideFromUtf8(path)));
}

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
