#include "settings.h"

#include <cmath>

#include "paths.h"

int16_t BgmKind = 0;
int16_t BgmRepeat = 0;
std::string BgmFile;
std::string IniValue;
int32_t ApiResult = 0;
int CursorCount = 0;

const char kIniSection[] = "Section";
const char kKeyBgmKind[] = "BGM区分";
const char kKeyBgmRepeat[] = "BGMﾘﾋﾟｰﾄ";
const char kKeyBgmFile[] = "BGMﾌｧｲﾙ";

namespace {

// Int() of the text into a 16-bit setting; a failing conversion is skipped
// and leaves the setting unchanged.
void ReadWholeNumber(const std::string& text, const NumberLocale& locale, int16_t& setting) {
    if (text.empty()) {
        setting = 0;
        return;
    }
    double value;
    int16_t whole;
    if (ParseLocaleNumber(text, locale, value) && ToInt16(std::floor(value), whole)) setting = whole;
}

}  // namespace

void LoadSettings(const SettingsAccess& access) {
    IniValue = access.readIniString(kIniSection, kKeyBgmKind, access.iniPath);
    ReadWholeNumber(IniValue, access.locale, BgmKind);
    IniValue = access.readIniString(kIniSection, kKeyBgmRepeat, access.iniPath);
    ReadWholeNumber(IniValue, access.locale, BgmRepeat);

    IniValue = access.readIniString(kIniSection, kKeyBgmFile, access.iniPath);
    BgmFile = IniValue;
    // A file URI that spells no path names no file: dropped like a missing
    // one.
    if (IsFileUri(IniValue) && !PathFromFileUri(IniValue, BgmFile)) BgmFile.clear();
    if (!BgmFile.empty() && !access.fileExists(BgmFile)) BgmFile.clear();
    if (BgmFile.empty() && BgmKind == 2) BgmKind = 0;
}

std::string IniTextOfPath(const std::string& path, bool codePageHoldsIt) {
    return codePageHoldsIt && !IsFileUri(path) ? path : FileUriFromPath(path);
}
