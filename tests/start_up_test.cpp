// What the program makes of its command line and argument text, of paths,
// and when a full-screen run stops waiting for its renderer.
#include <gtest/gtest.h>

#include "paths.h"
#include "start_up.h"
#include "vb_text.h"

namespace {

bool NamesOurSaver(const std::string& candidate) { return candidate == "C:\\Program Files\\Ondrake\\Ondrake.scr"; }

TEST(ArgumentsOf, WhatFollowsTheProgramsPath) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Program Files\\Ondrake\\Ondrake.scr\" /s", "/s"},
        {"\"C:\\Program Files\\Ondrake\\Ondrake.scr\"/c:1234", "/c:1234"},
        // A long path unquoted, as Windows starts a saver from a volume
        // without short names: the blanks inside it end nothing.
        {"C:\\Program Files\\Ondrake\\Ondrake.scr /s", "/s"},
        {"C:\\Program Files\\Ondrake\\Ondrake.scr \t /p 1234", "/p 1234"},
        {"C:\\Program Files\\Ondrake\\Ondrake.scr", ""},
        // Not this program's name: the path ends at the first blank.
        {"C:\\PROGRA~1\\ONDRAKE\\ONDRAKE.SCR /c", "/c"},
        {"C:\\Program Files\\Other\\Ondrake.scr /s", "Files\\Other\\Ondrake.scr /s"},
        {"Ondrake.scr\t/s", "/s"},
        {"\"C:\\unclosed /s", ""},
        {"", ""},
    };
    for (auto [line, arguments] : cases) EXPECT_EQ(ArgumentsOf(line, NamesOurSaver), arguments) << line;
}

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
    // Unsigned: the same 32 bits.
    EXPECT_EQ(PreviewParent("/p 2147483648"), INT32_MIN);
    EXPECT_EQ(PreviewParent("/p 4294901922"), static_cast<int32_t>(0xFFFF00A2u));
    EXPECT_EQ(PreviewParent("/p 4294967295"), -1);
    EXPECT_EQ(PreviewParent("/p 4294967295.5"), 0);  // rounds to 2^32: does not fit
    EXPECT_EQ(PreviewParent("/p 4294967296"), 0);
    EXPECT_EQ(PreviewParent("/p -2147483649"), 0);
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

// A renderer is waited for up to 5 s after its start.
TEST(RendererWatch, BoundsTheWaitForAWindowThatNeverComes) {
    RendererWatch watch{true, 1000, false};
    EXPECT_FALSE(RendererGone(watch, false, false, 6000));
    EXPECT_TRUE(RendererGone(watch, false, false, 6001));
    // Across the tick count's wrap: 5000 ms after 0xFFFFFF00 is 0x1288.
    RendererWatch wrapping{true, 0xFFFFFF00u, false};
    EXPECT_FALSE(RendererGone(wrapping, false, false, 0x1288));
    EXPECT_TRUE(RendererGone(wrapping, false, false, 0x1289));
}

// Paths are UTF-8; gtest's messages spell their expressions in the code
// page these tests are compiled for, so such paths are named outside them.
const std::string kProgramFiles = u8"C:\\Програмні файли\\Ondrake", kAccented = u8"C:\\aé";

TEST(Paths, FolderAndJoinKeepADriveRootsBackslash) {
    EXPECT_EQ(FolderOf(kProgramFiles + "\\Ondrake.scr"), kProgramFiles);
    EXPECT_EQ(FolderOf("C:\\Ondrake.scr"), "C:\\");
    EXPECT_EQ(FolderOf("Ondrake.scr"), "Ondrake.scr");
    EXPECT_EQ(JoinPath("C:\\", "Ondrake.ini"), "C:\\Ondrake.ini");
    EXPECT_EQ(JoinPath(u8"D:\\機能", "Ondrake.dll"), u8"D:\\機能\\Ondrake.dll");
}

TEST(Paths, FileUrisSpellEveryPathInAscii) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Music\\theme.mp3", "file:///C:/Music/theme.mp3"},
        {u8"D:\\Я 𠮷\\a%b/c.mp3", "file:///D:/%D0%AF%20%F0%A0%AE%B7/a%25b%2Fc.mp3"},
        {"\\\\server\\share\\x.wav", "file://server/share/x.wav"},
        {"file:x", "file:///file:x"},
    };
    for (const auto& [path, uri] : cases) {
        EXPECT_EQ(FileUriFromPath(path), uri);
        std::string back;
        EXPECT_TRUE(PathFromFileUri(uri, back)) << uri;
        EXPECT_EQ(back, path);
    }
    std::string path;
    EXPECT_TRUE(PathFromFileUri("FILE:///C:/a%c3%a9", path));
    EXPECT_EQ(path, kAccented);
}

TEST(Paths, TextThatIsNoFileUriSpellsNoPath) {
    for (const char* text : {"", "C:\\x.mp3", "http://x/y", "file:/C:/x", "file:C:/x", "file:///C:/%2", "file:///C:/%zz",
                             "file:///C:/a%00b"}) {
        std::string path = "unchanged";
        EXPECT_FALSE(PathFromFileUri(text, path)) << text;
        EXPECT_EQ(path, "unchanged");
    }
}

}  // namespace
