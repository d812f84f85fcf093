// The hack's command line, its settings description, where it finds its
// model, which model files it refuses before reading, and its frame meter.
#include <gtest/gtest.h>

#include <regex.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures.h"
#include "fps_meter.h"
#include "hack_options.h"
#include "model_check.h"
#include "test_folder.h"

namespace {

struct Parse {
    bool ok = false;
    HackOptions options;
    std::string problem;
};

Parse ParseArgs(const std::vector<std::string>& args, const char* screensaverWindow = nullptr) {
    Parse parse;
    parse.options.showFps = true;  // a result must not keep stale values
    parse.ok = ParseHackOptions(args, screensaverWindow, parse.options, parse.problem);
    return parse;
}

TEST(HackOptions, XscreensaverConventionsWithOneDashOrTwo) {
    struct Case {
        std::vector<std::string> args;
        DrawTarget target;
        unsigned long windowId;
        bool fps;
        const char* model;
        long delay;
    };
    const long kDefault = 16667;  // about 60 frames a second
    const Case cases[] = {
        {{}, DrawTarget::OwnWindow, 0, false, "", kDefault},
        {{"-window"}, DrawTarget::OwnWindow, 0, false, "", kDefault},
        {{"-root"}, DrawTarget::Root, 0, false, "", kDefault},
        {{"--root", "--fps"}, DrawTarget::Root, 0, true, "", kDefault},
        {{"-window-id", "0x2a00007"}, DrawTarget::WindowId, 0x2a00007, false, "", kDefault},
        {{"--window-id", "44040199"}, DrawTarget::WindowId, 44040199, false, "", kDefault},
        {{"-model", "/tmp/a b.3ds", "-fps"}, DrawTarget::OwnWindow, 0, true, "/tmp/a b.3ds", kDefault},
        {{"--model", "-root"}, DrawTarget::OwnWindow, 0, false, "-root", kDefault},  // a value, not an option
        {{"-root", "-window"}, DrawTarget::OwnWindow, 0, false, "", kDefault},       // the last one counts
        {{"-window-id", "0x10", "-root"}, DrawTarget::Root, 0, false, "", kDefault},
        {{"-fps", "--no-fps"}, DrawTarget::OwnWindow, 0, false, "", kDefault},
        {{"--delay", "0"}, DrawTarget::OwnWindow, 0, false, "", 0},
        {{"-delay", "30000", "-delay", "1000000000"}, DrawTarget::OwnWindow, 0, false, "", 1000000000},
        // Taken from every hack, of no use to this one.
        {{"-install", "--visual", "default", "-mono", "-root"}, DrawTarget::Root, 0, false, "", kDefault},
        {{"-visual", "-fps"}, DrawTarget::OwnWindow, 0, false, "", kDefault},  // -fps names the visual
        {{"-pair", "--sync", "-xrm", "*delay: 5", "-geometry", "640x480+0+0", "-bg", "black", "-fg", "-root"},
         DrawTarget::OwnWindow, 0, false, "", kDefault},  // -root names the colour
    };
    for (const Case& c : cases) {
        Parse parse = ParseArgs(c.args);
        std::string trace;
        for (const std::string& a : c.args) trace += a + " ";
        SCOPED_TRACE(trace);
        ASSERT_TRUE(parse.ok) << parse.problem;
        EXPECT_EQ(parse.options.target, c.target);
        EXPECT_EQ(parse.options.windowId, c.windowId);
        EXPECT_EQ(parse.options.showFps, c.fps);
        EXPECT_EQ(parse.options.modelPath, c.model);
        EXPECT_EQ(parse.options.delayUs, c.delay);
        EXPECT_FALSE(parse.options.showHelp);
    }
}

TEST(HackOptions, HelpStopsTheReading) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-help"}, {"--help"}, {"-root", "-help", "-bogus"}, {"-help", "-window-id"}}) {
        Parse parse = ParseArgs(args);
        EXPECT_TRUE(parse.ok) << args[0] << ": " << parse.problem;
        EXPECT_TRUE(parse.options.showHelp) << args[0];
    }
    // The usage gives the default delay.
    EXPECT_NE(kHackUsage.find("-delay US"), std::string::npos);
    EXPECT_NE(kHackUsage.find("(16667)"), std::string::npos);
}

TEST(HackOptions, UnknownOptionsAndMissingValuesAreRefusedByName) {
    struct Case {
        std::vector<std::string> args;
        const char* problem;
    };
    const Case cases[] = {
        {{"-bogus", "-help"}, "unknown option -bogus"},
        {{"root"}, "unknown option root"},
        {{"---root"}, "unknown option ---root"},
        {{"-model"}, "-model needs a value"},
        {{"--window-id"}, "--window-id needs a value"},
        {{"-window-id", "0x"}, "not a window id: 0x"},
        {{"-window-id", "12abc"}, "not a window id: 12abc"},
        {{"-display"}, "-display needs a value"},
        {{"-visual"}, "-visual needs a value"},
        {{"-xrm"}, "-xrm needs a value"},
        {{"-root", "--geometry"}, "--geometry needs a value"},
        {{"-bg"}, "-bg needs a value"},
        {{"-fg"}, "-fg needs a value"},
        {{"-delay"}, "-delay needs a value"},
        {{"-delay", "-5"}, "not a delay in microseconds: -5"},
        {{"-delay", "1e3"}, "not a delay in microseconds: 1e3"},
        {{"-delay", "1000000001"}, "not a delay in microseconds: 1000000001"},
    };
    for (const Case& c : cases) {
        Parse parse = ParseArgs(c.args);
        EXPECT_FALSE(parse.ok) << c.problem;
        EXPECT_EQ(parse.problem, c.problem);
    }
}

TEST(HackOptions, WindowIdsInDecimalOrHex) {
    struct Case {
        const char* text;
        bool ok;
        unsigned long id;
    };
    const Case cases[] = {
        {"0x1", true, 1},          {"0X1aF", true, 0x1af},     {"4294967295", true, 0xFFFFFFFFul},
        {"0xffffffff", true, 0xFFFFFFFFul},
        {"0", false, 0},           {"0x0", false, 0},          {"4294967296", false, 0},
        {"0x100000000", false, 0}, {"99999999999999999999999", false, 0},
        {"-5", false, 0},          {"+5", false, 0},           {" 5", false, 0},
        {"5 ", false, 0},          {"", false, 0},             {"0xg", false, 0},
        {"1e3", false, 0},
    };
    for (const Case& c : cases) {
        unsigned long id = 7;
        EXPECT_EQ(ParseWindowId(c.text, id), c.ok) << c.text;
        EXPECT_EQ(id, c.ok ? c.id : 7ul) << c.text;
    }
}

TEST(HackOptions, RootMeansTheScreenSaversWindowWhenItNamesOne) {
    EXPECT_EQ(ParseArgs({"-root"}, "0x3c00002").options.windowId, 0x3c00002ul);
    EXPECT_EQ(ParseArgs({"-root"}, "62914562").options.windowId, 62914562ul);
    EXPECT_EQ(ParseArgs({"-root"}, "").options.windowId, 0ul);
    // Only -root looks at it.
    EXPECT_EQ(ParseArgs({"-window"}, "0x3c00002").options.windowId, 0ul);
    EXPECT_EQ(ParseArgs({"-window-id", "0x20"}, "0x3c00002").options.windowId, 0x20ul);
    Parse bad = ParseArgs({"-root"}, "screen");
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.problem, "XSCREENSAVER_WINDOW is not a window id: screen");
}

// The value of attribute name in the element that starts at start.
std::string Attribute(const std::string& xml, size_t start, const std::string& name) {
    size_t end = xml.find('>', start);
    size_t at = xml.find(" " + name + "=\"", start);
    if (at == std::string::npos || at > end) return "";
    at += name.size() + 3;
    return xml.substr(at, xml.find('"', at) - at);
}

// Every argument the settings description can pass must be one the hack
// takes, with the effect its label promises; a slider's default must be the
// hack's own, since xscreensaver passes nothing at the default.
TEST(HackSettings, EveryArgumentInTheDescriptionIsTaken) {
    std::ifstream in(ONDRAKE_HACK_SETTINGS);
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    const std::string xml = text.str();
    std::vector<std::string> all;
    int found = 0;
    for (size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
        for (const char* name : {"arg", "arg-set", "arg-unset"}) {
            std::string value = Attribute(xml, at, name);
            if (value.empty()) continue;
            ++found;
            // A file's % is a path; a number's, each of its low, default and
            // high values (the last one stays).
            std::vector<std::string> fills = {"/models/x.3ds"};
            if (xml.compare(at, 8, "<number ") == 0)
                fills = {Attribute(xml, at, "low"), Attribute(xml, at, "default"), Attribute(xml, at, "high")};
            for (const std::string& fill : fills) {
                std::istringstream words(value);
                std::vector<std::string> args;
                for (std::string word; words >> word;) args.push_back(word == "%" ? fill : word);
                Parse parse = ParseArgs(args);
                EXPECT_TRUE(parse.ok) << name << "=" << value << " with " << fill << ": " << parse.problem;
                if (fill == fills.back()) all.insert(all.end(), args.begin(), args.end());
            }
        }
    }
    EXPECT_EQ(found, 4);  // the command, the frame rate, the model file, the frame-rate text
    Parse parse = ParseArgs(all);
    ASSERT_TRUE(parse.ok) << parse.problem;
    EXPECT_EQ(parse.options.target, DrawTarget::Root);
    EXPECT_EQ(parse.options.modelPath, "/models/x.3ds");
    EXPECT_TRUE(parse.options.showFps);
    EXPECT_EQ(parse.options.delayUs, 100000);
    size_t delay = xml.find("<number id=\"delay\"");
    ASSERT_NE(delay, std::string::npos);
    EXPECT_EQ(Attribute(xml, delay, "default"), "16667");
    EXPECT_EQ(Attribute(xml, delay, "convert"), "invert") << "a higher frame rate is a shorter delay";
    EXPECT_NE(xml.find("<file id=\"model\""), std::string::npos) << "the model is chosen with a file chooser";
}

// As in every installed hack's description: the last line names its
// makers and its year, "Written by NAME; YEAR.".
TEST(HackSettings, TheDescriptionEndsWithItsMakersAndYear) {
    std::ifstream in(ONDRAKE_HACK_SETTINGS);
    std::stringstream text;
    text << in.rdbuf();
    regex_t lastLine;
    const char* pattern = "\n\nWritten by [^;\n]+; [0-9]{4}\\.\n *</_description>";
    ASSERT_EQ(regcomp(&lastLine, pattern, REG_EXTENDED | REG_NOSUB), 0);
    EXPECT_EQ(regexec(&lastLine, text.str().c_str(), 0, nullptr, 0), 0);
    regfree(&lastLine);
}

TEST(HackModel, BesideTheHackThenWhereItIsInstalled) {
    static std::vector<std::string> present;
    auto exists = [](const std::string& path) {
        for (const std::string& p : present)
            if (p == path) return true;
        return false;
    };
    auto find = [&](const std::string& folder) {
        return DefaultModelPath(folder, "../../share/ondrake", "/usr/share/ondrake", exists);
    };
    present = {"/build/bin/Ondrake.3ds", "/opt/libexec/xscreensaver/../../share/ondrake/Ondrake.3ds"};
    EXPECT_EQ(find("/build/bin"), "/build/bin/Ondrake.3ds");
    // Installed under another prefix.
    EXPECT_EQ(find("/opt/libexec/xscreensaver"), "/opt/libexec/xscreensaver/../../share/ondrake/Ondrake.3ds");
    // Copied elsewhere; and the place a message names when none is there.
    EXPECT_EQ(find("/home/me/bin"), "/usr/share/ondrake/Ondrake.3ds");
    present = {};
    EXPECT_EQ(find("/build/bin"), "/usr/share/ondrake/Ondrake.3ds");
}

// Why a path cannot be read, or "" for a file that was opened (and closed).
std::string ModelFileProblem(const std::string& path) {
    std::string problem;
    int fd = OpenModelFile(path, problem);
    if (fd >= 0) close(fd);
    return problem;
}

TEST(HackModel, OnlyRegularReadableFilesAreRead) {
    std::string dir = TestFolder() + "hack_model_check";
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    std::ofstream(dir + "/model.3ds") << "MM";
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    EXPECT_EQ(ModelFileProblem(dir + "/model.3ds"), "");
    EXPECT_EQ(ModelFileProblem(dir + "/missing.3ds"), "No such file or directory");
    EXPECT_EQ(ModelFileProblem(dir + "/model.3ds/x"), "Not a directory");
    EXPECT_EQ(ModelFileProblem(dir), "not a regular file");
    EXPECT_EQ(ModelFileProblem(dir + "/fifo"), "not a regular file");  // and it returns: no writer is waited for
    EXPECT_EQ(ModelFileProblem("/dev/zero"), "not a regular file");
    EXPECT_EQ(ModelFileProblem(""), "No such file or directory");
}

// The file that was checked is the one read: a path that names a FIFO by
// the time the reader runs (which would block it) is not opened again.
TEST(HackModel, TheFileCheckedIsTheFileRead) {
    Bytes bytes = WriteModel3ds(MakeDrake());
    std::string path = WriteFile(TestFolder() + "swapped.3ds", bytes), problem;
    int fd = OpenModelFile(path, problem);
    ASSERT_GE(fd, 0) << problem;
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    int count = 0;
    auto model = LoadModel3dsFromFile(fd, path.c_str(), count);
    close(fd);
    int expected = 0;
    ASSERT_TRUE(model);
    ASSERT_TRUE(ParseModel3ds(bytes.data(), bytes.size(), expected));
    EXPECT_GT(count, 0);
    EXPECT_EQ(count, expected);
}

TEST(FpsMeter, CountsFramesOverAtLeastASecond) {
    FpsMeter meter;
    EXPECT_EQ(FpsText(meter), "FPS: 0.0");
    CountFrame(meter, 5000);  // starts the count
    for (int i = 1; i <= 59; ++i) CountFrame(meter, 5000 + i * 16);  // 944 ms
    EXPECT_EQ(meter.fps, 0.0);
    CountFrame(meter, 6000);
    EXPECT_DOUBLE_EQ(meter.fps, 60.0);
    EXPECT_EQ(FpsText(meter), "FPS: 60.0");
    // A slow frame: 1 frame in 2.5 s.
    CountFrame(meter, 8500);
    EXPECT_DOUBLE_EQ(meter.fps, 0.4);
    EXPECT_EQ(FpsText(meter), "FPS: 0.4");
    // Across the wrap of the millisecond clock.
    FpsMeter wrap;
    CountFrame(wrap, 0xFFFFFF00u);
    for (int i = 1; i <= 30; ++i) CountFrame(wrap, 0xFFFFFF00u + uint32_t(i) * 40u);
    EXPECT_DOUBLE_EQ(wrap.fps, 25.0);
}

}  // namespace
