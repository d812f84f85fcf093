// The runtime's conversions, as tables of inputs and results.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "vb_text.h"

namespace {

TEST(Val, ReadsTheLongestNumericPrefix) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"  42abc", 42},  {"", 0},          {"abc", 0},      {"-2.5", -2.5},   {"+7", 7},
        {".5", 0.5},      {"1e3x", 1000},   {"1e", 1},       {"2D2", 200},     {" \t\n12.5.6", 12.5},
        {"&HFF", 255},    {"&HFFFF", -1},   {"&H10000", 65536}, {"&O17", 15},  {"&Hx", 0},
        {"1234", 1234},   {"- 5", 0},       {"1 2", 1},      {"0x10", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.value) << '"' << c.text << '"';
}

TEST(Integers, RoundHalfToEvenAndFailOutOfRange) {
    const struct {
        double value;
        bool fits;
        int16_t result;
    } shorts[] = {
        {2.5, true, 2},        {3.5, true, 4},          {-2.5, true, -2},       {2.9, true, 3},
        {-2.9, true, -3},      {32767.4, true, 32767},  {32767.5, false, 0},    {-32768.5, true, -32768},
        {-32769, false, 0},    {40000, false, 0},       {std::nan(""), false, 0},
    };
    for (const auto& c : shorts) {
        int16_t out = 77;
        EXPECT_EQ(ToInt16(c.value, out), c.fits) << c.value;
        EXPECT_EQ(out, c.fits ? c.result : 77) << c.value;
    }
    int32_t wide = 0;
    EXPECT_TRUE(ToInt32(-2147483648.5, wide));
    EXPECT_EQ(wide, std::numeric_limits<int32_t>::min());
    EXPECT_FALSE(ToInt32(2147483647.5, wide));
    EXPECT_TRUE(ToInt32(1e9 + 0.5, wide));
    EXPECT_EQ(wide, 1000000000);
}

TEST(FormatHashes, LeavesZeroEmpty) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, ""}, {5, "5"}, {12, "12"}, {-3, "-3"}, {30, "30"}, {2.5, "3"}, {0.4, ""}, {100000, "100000"}};
    for (const auto& c : cases) EXPECT_EQ(FormatHashes(c.value), c.text) << c.value;
}

TEST(LocaleNumbers, ReadTypedNumbersByTheUsersSeparators) {
    const NumberLocale english{'.', ','}, german{',', '.'};
    const struct {
        const char* text;
        NumberLocale locale;
        bool numeric;
        double value;
    } cases[] = {
        {"12", english, true, 12},          {" 12 ", english, true, 12},       {"1,234.5", english, true, 1234.5},
        {"-12", english, true, -12},        {"12-", english, true, -12},       {"+ 3", english, true, 3},
        {"1e3", english, true, 1000},       {"2.5D-1", english, true, 0.25},   {"&H10", english, true, 16},
        {"2.9", english, true, 2.9},        {"abc", english, false, 0},        {"", english, false, 0},
        {"   ", english, false, 0},         {"1.2.3", english, false, 0},      {"12abc", english, false, 0},
        {"1e", english, false, 0},          {"--1", english, false, 0},        {"1e999", english, false, 0},
        {"2,9", german, true, 2.9},         {"1.234,5", german, true, 1234.5}, {"2.9", german, true, 29},
    };
    for (const auto& c : cases) {
        double value = -1;
        EXPECT_EQ(ParseLocaleNumber(c.text, c.locale, value), c.numeric) << '"' << c.text << '"';
        if (c.numeric) {
            EXPECT_DOUBLE_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(Strings, CountDoubleByteCharactersWhole) {
    // "\x83\x61" is one katakana character whose second byte is 'a'.
    EXPECT_EQ(UCase("abc/s:12"), "ABC/S:12");
    EXPECT_EQ(UCase("\x83\x61x"), "\x83\x61X");
    EXPECT_EQ(Len("\x93\xfa\x96\x7b\x8c\xea" "abc"), 6);
    EXPECT_EQ(Mid("/s 123", 2, 1), "s");
    EXPECT_EQ(Mid("/p 1234", 4), "1234");
    EXPECT_EQ(Mid("ab", 5), "");
    EXPECT_EQ(Mid("ab", 2, 9), "b");
    EXPECT_EQ(Mid("\x93\xfa\x96\x7b\x8c\xea" "abc", 2, 2), "\x96\x7b\x8c\xea");
    EXPECT_EQ(Right("theme.mp3", 3), "mp3");
    EXPECT_EQ(Right("ab", 3), "ab");
    EXPECT_EQ(Right("x\x93\xfa", 1), "\x93\xfa");
}

TEST(Colours, TextWithRedInTheLowByte) {
    uint32_t colour = 0;
    EXPECT_TRUE(ParseColourText("&HC6C5D7", colour));
    EXPECT_EQ(colour, 0xC6C5D7u);
    EXPECT_TRUE(ParseColourText("&h000000FF&", colour));
    EXPECT_EQ(colour & 0xFF, 0xFFu);  // red
    for (const char* bad : {"FF", "&H", "&HZZ", "&H123456789", ""}) EXPECT_FALSE(ParseColourText(bad, colour)) << bad;
    EXPECT_EQ(ColourText(0xFFFFFF), "&HFFFFFF");
    EXPECT_TRUE(ParseColourText(ColourText(0x80000005), colour));
    EXPECT_EQ(colour, 0x80000005u);
}

}  // namespace
