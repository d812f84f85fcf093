#include "code_pages.h"

#include <windows.h>

namespace {

std::wstring WideFrom(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string BytesFrom(UINT codePage, DWORD flags, const std::wstring& text) {
    if (text.empty()) return {};
    int length = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), &bytes[0], length, nullptr,
                        nullptr);
    return bytes;
}

}  // namespace

std::wstring WideFromCp932(const std::string& text) { return WideFrom(932, text); }

std::wstring WideFromAnsi(const std::string& text) { return WideFrom(CP_ACP, text); }

std::wstring WideFromUtf8(const std::string& text) { return WideFrom(CP_UTF8, text); }

std::string Utf8FromWide(const std::wstring& text) { return BytesFrom(CP_UTF8, 0, text); }

std::string AnsiFromWide(const std::wstring& text) { return BytesFrom(CP_ACP, 0, text); }

bool AnsiHolds(const std::wstring& text) {
    // Spelled without look-alikes and read back, the text comes out the same
    // only when every letter was there. Where the code page refuses the flag,
    // the reading back alone finds a look-alike out.
    DWORD flags = TakesNoBestFitFlag(GetACP()) ? WC_NO_BEST_FIT_CHARS : 0;
    return WideFromAnsi(BytesFrom(CP_ACP, flags, text)) == text;
}
