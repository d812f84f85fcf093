// The hack's command line, its settings description, where it finds its
// model, which model files it refuses before reading, and its frame meter.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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
    };
    const Case cases[] = {
        {{}, DrawTarget::OwnWindow, 0, false, ""},
        {{"-window"}, DrawTarget::OwnWindow, 0, false, ""},
        {{"-root"}, DrawTarget::Root, 0, false, ""},
        {{"--root", "--fps"}, DrawTarget::Root, 0, true, ""},
        {{"-window-id", "0x2a00007"}, DrawTarget::WindowId, 0x2a00007, false, ""},
        {{"--window-id", "44040199"}, DrawTarget::WindowId, 44040199, false, ""},
        {{"-model", "/tmp/a b.3ds", "-fps"}, DrawTarget::OwnWindow, 0, true, "/tmp/a b.3ds"},
        {{"--model", "-root"}, DrawTarget::OwnWindow, 0, false, "-root"},  // a value, not an option
        {{"-root", "-window"}, DrawTarget::OwnWindow, 0, false, ""},       // the last one counts
        {{"-window-id", "0x10", "-root"}, DrawTarget::Root, 0, false, ""},
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
    }
}

TEST(HackOptions, UnknownOptionsAndMissingValuesAreRefusedByName) {
    struct Case {
        std::vector<std::string> args;
        const char* problem;
    };
    const Case cases[] = {
        {{"-delay", "20000"}, "unknown option -delay"},
        {{"root"}, "unknown option root"},
        {{"---root"}, "unknown option ---root"},
        {{"-model"}, "-model needs a value"},
        {{"--window-id"}, "--window-id needs a value"},
        {{"-window-id", "0x"}, "not a window id: 0x"},
        {{"-window-id", "12abc"}, "not a window id: 12abc"},
        {{"-display"}, "-display needs a value"},
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

// Every argument the settings description can pass must be one the hack
// takes, with the effect its label promises.
TEST(HackSettings, EveryArgumentInTheDescriptionIsTaken) {
    std::ifstream in(ONDRAKE_HACK_SETTINGS);
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    const std::string xml = text.str();
    // The values of arg, arg-set and arg-unset attributes.
    std::vector<std::string> all;
    int found = 0;
    for (size_t at = xml.find(" arg"); at != std::string::npos; at = xml.find(" arg", at + 1)) {
        size_t quote = xml.find("=\"", at);
        std::string name = xml.substr(at + 1, quote - at - 1);
        if (name != "arg" && name != "arg-set" && name != "arg-unset") continue;
        ++found;
        std::string value = xml.substr(quote + 2, xml.find('"', quote + 2) - quote - 2);
        std::istringstream words(value);
        std::vector<std::string> args;
        for (std::string word; words >> word;) args.push_back(word == "%" ? "/models/x.3ds" : word);
        Parse parse = ParseArgs(args);
        EXPECT_TRUE(parse.ok) << name << "=" << value << ": " << parse.problem;
        all.insert(all.end(), args.begin(), args.end());
    }
    EXPECT_EQ(found, 3);  // the command, the model file, the frame rate
    Parse parse = ParseArgs(all);
    ASSERT_TRUE(parse.ok) << parse.problem;
    EXPECT_EQ(parse.options.target, DrawTarget::Root);
    EXPECT_EQ(parse.options.modelPath, "/models/x.3ds");
    EXPECT_TRUE(parse.options.showFps);
    EXPECT_NE(xml.find("<file id=\"model\""), std::string::npos) << "the model is chosen with a file chooser";
}

TEST(HackModel, BesideTheHackFirstThenWhereItIsInstalled) {
    static std::vector<std::string> present;
    auto exists = [](const std::string& path) {
        for (const std::string& p : present)
            if (p == path) return true;
        return false;
    };
    present = {"/build/bin/Ondrake.3ds"};
    EXPECT_EQ(DefaultModelPath("/build/bin", "../../share/ondrake", exists), "/build/bin/Ondrake.3ds");
    present = {};
    EXPECT_EQ(DefaultModelPath("/usr/libexec/xscreensaver", "../../share/ondrake", exists),
              "/usr/libexec/xscreensaver/../../share/ondrake/Ondrake.3ds");
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
    unlink((dir + "/fifo").c_str());
    unlink((dir + "/model.3ds").c_str());
    rmdir(dir.c_str());
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
