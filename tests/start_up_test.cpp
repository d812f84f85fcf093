// What the program makes of its argument text, of paths in a double-byte
// code page, and when a full-screen run stops waiting for its renderer.
#include <gtest/gtest.h>

#include "paths.h"
#include "start_up.h"
#include "vb_text.h"

namespace {

TEST(ModeLetter, TheSecondCharacterUpperCased) {
    const std::pair<const char*, const char*> cases[] = {
        {"/s", "S"}, {"/S", "S"}, {"-s", "S"}, {"xs", "S"}, {"/c:1234", "C"}, {"/p 1234", "P"},
        {"/a", "A"}, {"", ""},    {"/", ""},   {"s", ""},   {"/ s", " "},
    };
    for (auto [arguments, letter] : cases) EXPECT_EQ(ModeLetter(arguments), letter) << arguments;
}

TEST(PreviewParent, TheNumberFromTheFourthCharacter) {
    EXPECT_EQ(PreviewParent("/p 1234"), 1234);
    EXPECT_EQ(PreviewParent("/p:1234"), 1234);
    EXPECT_EQ(PreviewParent("/P   66042 trailing"), 66042);
    EXPECT_EQ(PreviewParent("/p"), 0);
    EXPECT_EQ(PreviewParent("/p x12"), 0);
    EXPECT_EQ(PreviewParent("/p 12.5"), 12);  // halves to even
    EXPECT_EQ(PreviewParent("/p 13.5"), 14);
    EXPECT_EQ(PreviewParent("/p 2147483647"), 2147483647);
    EXPECT_EQ(PreviewParent("/p 4294967296"), 0);  // does not fit: none
}

TEST(PreviewTwips, SignedSixteenBitsOrNothing) {
    EXPECT_EQ(PreviewTwips(152, 15.0f), 2280);
    EXPECT_EQ(PreviewTwips(112, 15.0f), 1680);
    EXPECT_EQ(PreviewTwips(2184, 15.0f), 32760);
    EXPECT_EQ(PreviewTwips(2185, 15.0f), 0);  // 32775 twips
    EXPECT_EQ(PreviewTwips(-10, 15.0f), -150);
    EXPECT_EQ(PreviewTwips(101, 9.6f), 970);  // 150 dots per inch
}

TEST(RendererWatch, WaitsForTheWindowThenFollowsIt) {
    RendererWatch watch{true, 1000, false};
    EXPECT_FALSE(RendererGone(watch, false, false, 1050));  // not yet open
    EXPECT_FALSE(RendererGone(watch, false, false, 1400));
    EXPECT_FALSE(RendererGone(watch, true, false, 1450));
    EXPECT_FALSE(RendererGone(watch, true, false, 9000));   // runs long
    EXPECT_TRUE(RendererGone(watch, false, false, 9050));   // Esc
}

TEST(RendererWatch, EndsAtOnceWhenTheRendererCannotRun) {
    RendererWatch notStarted{false, 1000, false};
    EXPECT_TRUE(RendererGone(notStarted, false, false, 1050));
    RendererWatch exited{true, 1000, false};
    EXPECT_TRUE(RendererGone(exited, false, true, 1100));  // exit code 1 before any window
}

TEST(RendererWatch, BoundsTheWaitForAWindowThatNeverComes) {
    RendererWatch watch{true, 1000, false};
    EXPECT_FALSE(RendererGone(watch, false, false, 1000 + kRendererStartLimitMs));
    EXPECT_TRUE(RendererGone(watch, false, false, 1001 + kRendererStartLimitMs));
    // Across the tick count's wrap.
    RendererWatch wrapping{true, 0xFFFFFF00u, false};
    EXPECT_FALSE(RendererGone(wrapping, false, false, 0x100));
    EXPECT_TRUE(RendererGone(wrapping, false, false, kRendererStartLimitMs));
}

// 能 is 0x94 0x5C in code page 932; 表 0x95 0x5C; ソ 0x83 0x5C.
const std::string kNou = "\x94\x5c", kHyou = "\x95\x5c", kSo = "\x83\x5c";

TEST(Paths, ATrailByteIsNoBackslash) {
    EXPECT_FALSE(EndsWithBackslash("C:\\" + kNou, IsCp932LeadByte));
    EXPECT_TRUE(EndsWithBackslash("C:\\" + kNou + "\\", IsCp932LeadByte));
    EXPECT_TRUE(EndsWithBackslash("C:\\Music\\", IsCp932LeadByte));
    EXPECT_FALSE(EndsWithBackslash("", IsCp932LeadByte));
    // Read byte by byte, as a single-byte code page does.
    EXPECT_TRUE(EndsWithBackslash("C:\\" + kNou, [](unsigned char) { return false; }));
}

TEST(Paths, JoinsAtCharacterBoundaries) {
    EXPECT_EQ(JoinPath("C:\\" + kNou, "Ondrake.ini", IsCp932LeadByte), "C:\\" + kNou + "\\Ondrake.ini");
    EXPECT_EQ(JoinPath("C:\\", "Ondrake.ini", IsCp932LeadByte), "C:\\Ondrake.ini");
    EXPECT_EQ(JoinPath("D:\\Saver", "Ondrake.dll", IsCp932LeadByte), "D:\\Saver\\Ondrake.dll");
}

TEST(Paths, FolderOfAProgram) {
    EXPECT_EQ(FolderOf("C:\\" + kHyou + "\\Ondrake.scr", IsCp932LeadByte), "C:\\" + kHyou);
    EXPECT_EQ(FolderOf("C:\\x\\" + kSo + ".scr", IsCp932LeadByte), "C:\\x");
    EXPECT_EQ(FolderOf("C:\\Ondrake.scr", IsCp932LeadByte), "C:\\");
    EXPECT_EQ(FolderOf("Ondrake.scr", IsCp932LeadByte), "Ondrake.scr");
    EXPECT_EQ(LastBackslash("C:\\a" + kNou, IsCp932LeadByte), 2u);
}

}  // namespace
