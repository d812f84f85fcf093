// The music player against a scripted device: which MCI commands it sends,
// and what it makes of the replies.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "music.h"
#include "settings.h"

namespace {

// A CD drive with a ten-track disc, an MPEGVideo device, a sound card.
struct FakeDevice {
    std::vector<std::string> sent;
    bool hasDrive = true;
    std::string currentTrack = "1";
    std::string mode = "stopped";
    std::map<std::string, std::pair<uint32_t, std::string>> scripted;  // command -> code, reply
    std::string mp3Mode = "playing";
    bool mp3StatusFails = false;
    bool errorTextKnown = true;
    int waveDevices = 1;
    std::vector<std::pair<std::string, unsigned>> sounds;  // name ("<null>"), flags
};
FakeDevice device;

uint32_t Reply(const std::string& text, char* out, unsigned size) {
    if (out && size) {
        std::memset(out, 'Z', size);  // what follows the NUL must not be read
        std::strncpy(out, text.c_str(), size - 1);
        out[std::min<size_t>(text.size(), size - 1)] = '\0';
    }
    return 0;
}

uint32_t FakeSend(const char* command, char* out, unsigned size) {
    std::string c = command;
    device.sent.push_back(c);
    auto scripted = device.scripted.find(c);
    if (scripted != device.scripted.end()) {
        if (scripted->second.first) return scripted->second.first;
        return Reply(scripted->second.second, out, size);
    }
    if (c.rfind("status MP3Play mode", 0) == 0) return device.mp3StatusFails ? 263 : Reply(device.mp3Mode, out, size);
    if (c.find("MP3Play") != std::string::npos) return 0;
    if (!device.hasDrive) return 266;  // MCIERR_CANNOT_LOAD_DRIVER
    if (c == "status cdaudio current track") return Reply(device.currentTrack, out, size);
    if (c == "status cdaudio number of tracks") return Reply("10", out, size);
    if (c == "status cdaudio mode") return Reply(device.mode, out, size);
    if (c.rfind("status cdaudio position track ", 0) == 0) {
        int track = std::stoi(c.substr(30));
        if (track > 10) return 277;
        char position[32];
        std::snprintf(position, sizeof position, "%02d:00:00:00", track);
        return Reply(position, out, size);
    }
    if (c.rfind("play cdaudio", 0) == 0) {
        device.mode = "playing";
        if (c.size() > 18 && std::isdigit(static_cast<unsigned char>(c[18])))
            device.currentTrack = std::to_string(std::atoi(c.c_str() + 18));
        return Reply("", out, size);
    }
    return Reply("", out, size);
}

bool FakeErrorString(uint32_t error, char* text, unsigned size) {
    if (!device.errorTextKnown) return false;
    std::snprintf(text, size, "fake error %u", error);
    return true;
}

bool FakePlaySound(const char* sound, unsigned flags) {
    device.sounds.emplace_back(sound ? sound : "<null>", flags);
    return true;
}

int FakeWaveDevices() { return device.waveDevices; }

class Music : public testing::Test {
protected:
    void SetUp() override {
        device = FakeDevice();
        musicSystem = MusicSystem{FakeSend, FakeErrorString, FakePlaySound, FakeWaveDevices};
        std::memset(Mp3ModeBuffer, 0, sizeof Mp3ModeBuffer);
        std::memset(CdModeBuffer, 0, sizeof CdModeBuffer);
        BgmRepeat = 0;
        BgmFile.clear();
    }
    std::vector<std::string> Poll() {
        device.sent.clear();
        CdPoll();
        return device.sent;
    }
};

using Commands = std::vector<std::string>;
const Commands kStatus = {"status cdaudio current track", "status cdaudio number of tracks", "status cdaudio mode"};
Commands With(Commands commands, const std::vector<std::string>& more) {
    commands.insert(commands.end(), more.begin(), more.end());
    return commands;
}

TEST_F(Music, CdOpensAndStopsWithItsCommands) {
    CdOpen();
    CdStop();
    EXPECT_EQ(device.sent, (Commands{"open cdaudio", "set cdaudio time format tmsf", "stop cdaudio", "close cdaudio"}));
}

TEST_F(Music, RepeatTrackJumpsBackWhenTheDriveMovesOnOrStops) {
    BgmRepeat = 3;
    EXPECT_EQ(Poll(), With(kStatus, {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}));
    EXPECT_EQ(CdActive, kTrue);
    EXPECT_EQ(Poll(), kStatus);  // playing track 3: nothing to do
    device.currentTrack = "4";
    EXPECT_EQ(Poll(), With(kStatus, {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}));
    device.mode = "stopped";
    EXPECT_EQ(Poll(), With(kStatus, {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}));
}

TEST_F(Music, WholeDiscResumesWhenStopped) {
    EXPECT_EQ(Poll(), With(kStatus, {"play cdaudio"}));
    device.currentTrack = "7";
    EXPECT_EQ(Poll(), kStatus);
    device.mode = "stopped";
    EXPECT_EQ(Poll(), With(kStatus, {"play cdaudio"}));
}

TEST_F(Music, ANonNumericTrackWithoutErrIsNotTheRepeatTrack) {
    BgmRepeat = 3;
    device.mode = "playing";
    device.currentTrack = "n/a";
    EXPECT_EQ(Poll(), With(kStatus, {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}));
    EXPECT_EQ(CdActive, kTrue);
}

TEST_F(Music, ErrorRepliesStopThePolling) {
    device.hasDrive = false;
    EXPECT_EQ(Poll(), (Commands{"status cdaudio current track"}));
    EXPECT_EQ(CdActive, kFalse);
    EXPECT_EQ(MciQuery("status cdaudio current track"), "Error:266");

    SetUp();
    device.currentTrack = "terror";  // "ERR" after upper-casing
    EXPECT_EQ(Poll(), (Commands{"status cdaudio current track"}));
    EXPECT_EQ(CdActive, kFalse);

    SetUp();
    device.scripted["status cdaudio number of tracks"] = {0, "Err"};
    EXPECT_EQ(Poll(), (Commands{"status cdaudio current track", "status cdaudio number of tracks"}));
    EXPECT_EQ(CdActive, kFalse);
}

TEST_F(Music, RepeatTrackPastTheLastFailsQuietlyEveryTick) {
    BgmRepeat = 12;
    for (int tick = 0; tick < 2; ++tick)
        EXPECT_EQ(Poll(), With(kStatus, {"status cdaudio position track 12", "play cdaudio from Error:277"}));
}

TEST_F(Music, MciCommandTexts) {
    std::string text;
    EXPECT_EQ(MciCommand("", text), -1);
    EXPECT_EQ(text, "\x83\x52\x83\x7d\x83\x93\x83\x68\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\x77\x92\xe8\x82\xb3\x82\xea"
                    "\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1");
    EXPECT_TRUE(device.sent.empty());

    device.scripted["bad"] = {263, ""};
    EXPECT_EQ(MciCommand("bad", text), 263);
    EXPECT_EQ(text, "fake error 263");
    device.errorTextKnown = false;
    EXPECT_EQ(MciCommand("bad", text), 263);
    EXPECT_EQ(text, "Error (\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\xe6\x82\xea\x82\xdc\x82\xb9\x82\xf1)");
    EXPECT_EQ(MciQuery("bad"), "Error:263");
    EXPECT_EQ(ApiResult, 263);

    device.scripted["good"] = {0, "reply"};
    EXPECT_EQ(MciQuery("good"), "reply");
    EXPECT_EQ(MciResultText, "reply");
    EXPECT_EQ(MciPlay("cdaudio", "01", "02"), 0);
    EXPECT_EQ(device.sent.back(), "play cdaudio from 01 to 02");
}

TEST_F(Music, Mp3OpensQuotedAndLoopsFromTheStart) {
    BgmFile = "C:\\My Music\\a b.mp3";
    Mp3Play();
    EXPECT_EQ(device.sent, (Commands{"open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}));

    device.sent.clear();
    Mp3Poll();
    EXPECT_EQ(device.sent, (Commands{"status MP3Play mode"}));
    device.mp3Mode = "stopped";
    device.sent.clear();
    Mp3Poll();
    EXPECT_EQ(device.sent, (Commands{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
    device.sent.clear();
    Mp3Stop();
    EXPECT_EQ(device.sent, (Commands{"stop MP3Play", "close MP3Play"}));
}

TEST_F(Music, Mp3ThatCannotOpenIsNeverPlayed) {
    BgmFile = "C:\\gone.mp3";
    device.scripted["open \"C:\\gone.mp3\" type MPEGVideo Alias MP3Play"] = {275, ""};
    Mp3Play();
    EXPECT_EQ(device.sent.size(), 1u);
}

TEST_F(Music, FailedStatusKeepsTheLastModeReply) {
    device.mp3Mode = "playing";
    EXPECT_TRUE(Mp3IsPlaying());
    device.mp3StatusFails = true;
    EXPECT_TRUE(Mp3IsPlaying());
    device.mp3StatusFails = false;
    device.mp3Mode = "paused";
    EXPECT_FALSE(Mp3IsPlaying());
}

TEST_F(Music, WavLoopsThroughPlaySoundWhenThereIsADevice) {
    BgmFile = "C:\\music.wav";
    device.waveDevices = 0;
    WavPlay();
    EXPECT_TRUE(device.sounds.empty());
    device.waveDevices = 1;
    WavPlay();
    WavStop();
    ASSERT_EQ(device.sounds.size(), 2u);
    EXPECT_EQ(device.sounds[0], std::make_pair(std::string("C:\\music.wav"), 0x0009u));
    EXPECT_EQ(device.sounds[1], std::make_pair(std::string("<null>"), 0u));
}

}  // namespace
