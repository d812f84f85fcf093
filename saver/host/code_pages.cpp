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

}  // namespace

std::wstring WideFromCp932(const std::string& text) { return WideFrom(932, text); }

std::wstring WideFromAnsi(const std::string& text) { return WideFrom(CP_ACP, text); }

std::string AnsiFromWide(const std::wstring& text) {
    if (text.empty()) return {};
    int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &bytes[0], length, nullptr, nullptr);
    return bytes;
}

std::string AnsiFromCp932(const std::string& text) { return AnsiFromWide(WideFromCp932(text)); }

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }
