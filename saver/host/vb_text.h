// The text and number conversions the front end relies on, as the Visual
// Basic runtime defined them. Portable: no Windows headers.
//
// Texts are byte strings in code page 932 (Shift-JIS); the character-based
// operations step over double-byte characters whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Booleans are 16-bit: True is -1.
constexpr int16_t kTrue = -1, kFalse = 0;

// True for the first byte of a double-byte character in code page 932.
bool IsCp932LeadByte(unsigned char c);

// The value of a hexadecimal digit of either case; -1 for any other byte.
int HexDigit(char c);

// Val: leading blanks skipped, then the longest prefix that reads as a
// number (sign, digits, one '.', an exponent; or &H / &O digits). No
// prefix gives 0. Always '.' as the decimal point, whatever the locale.
double Val(std::string_view text);

// Conversion to a 16- or 32-bit integer: the nearest value, halves to even.
// False (a runtime error) when the result does not fit, or for NaN.
bool ToInt16(double value, int16_t& out);
bool ToInt32(double value, int32_t& out);

// Format(value, "##"): the rounded value in decimal without leading zeros;
// 0 gives the empty text.
std::string FormatHashes(double value);

// How the user's locale writes numbers.
struct NumberLocale {
    char decimal = '.';
    char group = ',';
};

// A number typed by the user, read as the runtime's IsNumeric and CDbl read
// it: blanks around it, a sign before or after it, group separators between
// digits, one decimal separator, an exponent (E or D), or &H / &O digits.
// False when the whole text is not such a number.
bool ParseLocaleNumber(std::string_view text, const NumberLocale& locale, double& value);

// Upper case of the single-byte letters; double-byte characters unchanged.
std::string UCase(std::string_view text);

// Characters in the text (a double-byte character counts one).
int Len(std::string_view text);

// Mid: length characters from the 1-based start (all when length < 0); past
// the end gives what exists.
std::string Mid(std::string_view text, int start, int length = -1);

// Right: the last count characters, or the whole text when shorter.
std::string Right(std::string_view text, int count);

// Colour text: "&H" and hexadecimal digits (a trailing '&' allowed), the
// value with red in its low byte. False for other text.
bool ParseColourText(std::string_view text, uint32_t& colour);
std::string ColourText(uint32_t colour);
