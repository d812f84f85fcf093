#include "vb_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Byte offsets where each character starts, and the end.
std::vector<size_t> CharacterStarts(std::string_view text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size();) {
        starts.push_back(i);
        i += IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

// &H or &O digits at text[i]: the value, 16-bit signed when it fits in four
// hex (six octal) digits, 32-bit signed otherwise. Returns the bytes read.
size_t ReadRadixNumber(std::string_view text, size_t i, double& value) {
    if (i + 1 >= text.size() || text[i] != '&') return 0;
    char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
    int radix = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
    if (!radix) return 0;
    size_t j = i + 2;
    uint64_t n = 0;
    int digits = 0;
    for (; j < text.size(); ++j) {
        int d = HexDigit(text[j]);
        if (d < 0 || d >= radix) break;
        n = n * radix + d;
        ++digits;
        if (n > 0xFFFFFFFFu) return 0;
    }
    if (digits == 0) return 0;
    bool small = radix == 16 ? digits <= 4 : n <= 0xFFFF;
    if (small && n > 0x7FFF) value = double(int64_t(n) - 0x10000);
    else if (n > 0x7FFFFFFF) value = double(int64_t(n) - 0x100000000LL);
    else value = double(n);
    return j - i;
}

// Digits, an optional '.' and digits, an optional exponent: the longest
// such prefix at text[i] in plain C form, or empty when there is no digit.
std::string DecimalPrefix(std::string_view text, size_t i, char decimal, char group, size_t& end) {
    std::string out;
    bool digits = false, point = false;
    size_t j = i;
    for (; j < text.size(); ++j) {
        char c = text[j];
        if (IsDigit(c)) {
            out += c;
            digits = true;
        } else if (c == decimal && !point) {
            out += '.';
            point = true;
        } else if (group && c == group && digits && !point) {
            continue;
        } else {
            break;
        }
    }
    if (!digits) return {};
    if (j < text.size() && std::strchr("EeDd", text[j]) && text[j] != '\0') {
        size_t k = j + 1;
        std::string exponent = "e";
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) exponent += text[k++];
        size_t first = k;
        while (k < text.size() && IsDigit(text[k])) exponent += text[k++];
        if (k > first) {
            out += exponent;
            j = k;
        }
    }
    end = j;
    return out;
}

}  // namespace

bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

double Val(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    double value = 0;
    if (ReadRadixNumber(text, i, value)) return value;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    size_t end = 0;
    std::string number = DecimalPrefix(text, i, '.', 0, end);
    if (number.empty()) return 0;
    value = std::strtod(number.c_str(), nullptr);
    return negative ? -value : value;
}

bool ToInt16(double value, int16_t& out) {
    int32_t wide;
    if (!ToInt32(value, wide) || wide < -32768 || wide > 32767) return false;
    out = static_cast<int16_t>(wide);
    return true;
}

bool ToInt32(double value, int32_t& out) {
    if (std::isnan(value)) return false;
    // Halves to even: nearbyint in the default rounding mode.
    double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return false;
    out = static_cast<int32_t>(rounded);
    return true;
}

std::string FormatHashes(double value) {
    double rounded = std::round(value);  // Format rounds halves away from zero
    if (rounded == 0 || std::isnan(rounded)) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", rounded);
    return text;
}

bool ParseLocaleNumber(std::string_view text, const NumberLocale& locale, double& value) {
    size_t i = 0, n = text.size();
    while (i < n && IsBlank(text[i])) ++i;
    while (n > i && IsBlank(text[n - 1])) --n;
    text = text.substr(0, n);
    if (i == n) return false;
    double radixValue = 0;
    if (size_t used = ReadRadixNumber(text, i, radixValue)) {
        if (i + used != n) return false;
        value = radixValue;
        return true;
    }
    bool negative = false, signed_ = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i++] == '-';
        signed_ = true;
        while (i < n && IsBlank(text[i])) ++i;
    }
    size_t end = i;
    std::string number = DecimalPrefix(text, i, locale.decimal, locale.group, end);
    if (number.empty()) return false;
    while (end < n && IsBlank(text[end])) ++end;
    if (!signed_ && end < n && (text[end] == '+' || text[end] == '-')) negative = text[end++] == '-';
    if (end != n) return false;
    value = std::strtod(number.c_str(), nullptr);
    if (negative) value = -value;
    return std::isfinite(value);
}

std::string UCase(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsCp932LeadByte(c)) {
            ++i;  // the trail byte may look like a lower-case letter
        } else if (c >= 'a' && c <= 'z') {
            out[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

int Len(std::string_view text) { return static_cast<int>(CharacterStarts(text).size() - 1); }

std::string Mid(std::string_view text, int start, int length) {
    std::vector<size_t> starts = CharacterStarts(text);
    int count = static_cast<int>(starts.size() - 1);
    if (start < 1) start = 1;
    if (start > count) return {};
    int last = length < 0 || start - 1 + length > count ? count : start - 1 + length;
    return std::string(text.substr(starts[start - 1], starts[last] - starts[start - 1]));
}

std::string Right(std::string_view text, int count) {
    int length = Len(text);
    return count >= length ? std::string(text) : Mid(text, length - count + 1);
}

bool ParseColourText(std::string_view text, uint32_t& colour) {
    if (text.size() < 3 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h')) return false;
    if (text.back() == '&') text.remove_suffix(1);
    uint64_t value = 0;
    for (size_t i = 2; i < text.size(); ++i) {
        int d = HexDigit(text[i]);
        if (d < 0) return false;
        value = value * 16 + d;
        if (value > 0xFFFFFFFFu) return false;
    }
    if (text.size() == 2) return false;
    colour = static_cast<uint32_t>(value);
    return true;
}

std::string ColourText(uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "&H%X", static_cast<unsigned>(colour));
    return text;
}
