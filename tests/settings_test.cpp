// LoadSettings's decisions, with the profile file and the file test faked.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "code_pages.h"
#include "settings.h"

namespace {

std::map<std::string, std::string> ini;
std::set<std::string> existingFiles;

std::string FakeRead(const std::string& section, const std::string& key, const std::string& file) {
    if (section != "Section" || file != "C:\\Saver\\Ondrake.ini") return {};
    auto found = ini.find(key);
    return found == ini.end() ? std::string() : found->second;
}

bool FakeExists(const std::string& path) { return existingFiles.count(path) > 0; }

// The keys as code page 932 bytes, written out so that the test does not
// depend on how it was compiled.
const std::string kind = "\x42\x47\x4d\x8b\xe6\x95\xaa";
const std::string repeat = "\x42\x47\x4d\xd8\xcb\xdf\xb0\xc4";
const std::string file = "\x42\x47\x4d\xcc\xa7\xb2\xd9";

class Settings : public testing::Test {
protected:
    void SetUp() override {
        ini.clear();
        existingFiles = {"D:\\Music\\theme.mp3"};
        BgmKind = BgmRepeat = 0;
        BgmFile.clear();
    }
    void Load(NumberLocale locale = {}) { LoadSettings({FakeRead, FakeExists, "C:\\Saver\\Ondrake.ini", locale}); }
};

TEST_F(Settings, KeysAreTheCodePage932Bytes) {
    EXPECT_EQ(kKeyBgmKind, kind);
    EXPECT_EQ(kKeyBgmRepeat, repeat);
    EXPECT_EQ(kKeyBgmFile, file);
    EXPECT_STREQ(kIniSection, "Section");
}

TEST_F(Settings, NoFileGivesNothing) {
    Load();
    EXPECT_EQ(BgmKind, 0);
    EXPECT_EQ(BgmRepeat, 0);
    EXPECT_EQ(BgmFile, "");
}

TEST_F(Settings, AFileSettingKeepsAnExistingFile) {
    ini = {{kind, "2"}, {repeat, "0"}, {file, "D:\\Music\\theme.mp3"}};
    Load();
    EXPECT_EQ(BgmKind, 2);
    EXPECT_EQ(BgmFile, "D:\\Music\\theme.mp3");
    EXPECT_EQ(IniValue, "D:\\Music\\theme.mp3");
}

TEST_F(Settings, MissingMusicFileClearsItAndKindTwoFallsBack) {
    const struct {
        const char* kindText;
        const char* fileText;
        int16_t kind;
    } cases[] = {{"2", "", 0}, {"2", "D:\\gone.mp3", 0}, {"1", "D:\\gone.mp3", 1}, {"7", "", 7}};
    for (const auto& c : cases) {
        SetUp();
        ini = {{kind, c.kindText}, {file, c.fileText}};
        Load();
        EXPECT_EQ(BgmKind, c.kind) << c.kindText << " " << c.fileText;
        EXPECT_EQ(BgmFile, "");
    }
}

// A path that the system's code page lacks a letter of is kept as a file
// URI; every path reads back as it was written, and one the code page holds
// keeps its bytes.
TEST_F(Settings, AMusicPathReadsBackAsItWasWritten) {
    for (const char* path : {"D:\\Music\\theme.mp3", u8"C:\\Програмні файли\\Ondrake\\theme.mp3", "file:theme.mp3"}) {
        for (bool codePageHoldsIt : {true, false}) {
            SetUp();
            existingFiles = {path};
            ini = {{kind, "2"}, {file, IniTextOfPath(path, codePageHoldsIt)}};
            Load();
            EXPECT_EQ(BgmKind, 2) << path;
            EXPECT_EQ(BgmFile, path);
        }
    }
    EXPECT_EQ(IniTextOfPath("D:\\Music\\theme.mp3", true), "D:\\Music\\theme.mp3");
    EXPECT_EQ(IniTextOfPath(u8"C:\\Я.mp3", false), "file:///C:/%D0%AF.mp3");
}

// WideCharToMultiByte's documentation: UTF-8, GB18030, ISO-2022, ISCII,
// UTF-7 and Symbol refuse WC_NO_BEST_FIT_CHARS (on a UTF-8 system the call
// would fail, and every path would be kept as a file URI).
TEST(CodePages, TheNoBestFitFlagOnlyWhereWideCharToMultiByteTakesIt) {
    for (unsigned page : {65001u, 54936u, 50220u, 50229u, 57002u, 57011u, 65000u, 42u})
        EXPECT_FALSE(TakesNoBestFitFlag(page)) << page;
    for (unsigned page : {874u, 932u, 936u, 949u, 950u, 1250u, 1251u, 1252u, 1258u, 57001u, 57012u})
        EXPECT_TRUE(TakesNoBestFitFlag(page)) << page;
}

TEST_F(Settings, AFileUriThatSpellsNoPathIsDropped) {
    existingFiles = {"file:/D:/x.mp3"};
    ini = {{kind, "2"}, {file, "file:/D:/x.mp3"}};
    Load();
    EXPECT_EQ(BgmFile, "");
    EXPECT_EQ(BgmKind, 0);
}

TEST_F(Settings, NumbersAreRoundedDownAndBadOnesLeaveTheValue) {
    const struct {
        const char* text;
        int16_t before, after;
    } cases[] = {
        {"2.9", 0, 2},   {"-2.5", 0, -3},       {"abc", 0, 0},         {"abc", 5, 5},    {"", 5, 0},
        {"12", 0, 12},   {"40000", 4, 4},       {"32767.9", 0, 32767}, {"-32768.5", 3, 3}, {" 3 ", 0, 3},
        {"1e6", 9, 9},   {"&H1F", 0, 31},
    };
    for (const auto& c : cases) {
        SetUp();
        ini = {{repeat, c.text}};
        BgmRepeat = c.before;
        Load();
        EXPECT_EQ(BgmRepeat, c.after) << '"' << c.text << "\" from " << c.before;
    }
}

TEST_F(Settings, NumbersFollowTheUsersDecimalSeparator) {
    ini = {{repeat, "2,9"}, {kind, "1.5"}};
    Load(NumberLocale{',', '.'});
    EXPECT_EQ(BgmRepeat, 2);
    EXPECT_EQ(BgmKind, 15);  // '.' groups digits there
}

}  // namespace
