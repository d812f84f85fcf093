#include "music.h"

#include <cstring>

#include "../host/settings.h"
#include "../host/vb_text.h"

MusicSystem musicSystem{};

int16_t CdActive = kFalse;
char CdModeBuffer[256];
char MciReturnBuffer[512];
char MciErrorBuffer[256];
char Mp3ModeBuffer[30];
std::string MciResultText;

namespace {

const char kNoCommandText[] = "コマンド文字列が指定されていません";
const char kNoErrorText[] = "Error (文字列が取れません)";

std::string UpToNul(const char* buffer, size_t size) {
    size_t length = 0;
    while (length < size && buffer[length]) ++length;
    return std::string(buffer, length);
}

uint32_t Send(const std::string& command) { return musicSystem.mciSendString(command.c_str(), nullptr, 0); }

bool ContainsErr(const std::string& reply) { return UCase(reply).find("ERR") != std::string::npos; }

}  // namespace

int32_t MciCommand(const std::string& command, std::string& text) {
    if (command.empty()) {
        text = kNoCommandText;
        return -1;
    }
    ApiResult = static_cast<int32_t>(musicSystem.mciSendString(command.c_str(), MciReturnBuffer, sizeof MciReturnBuffer));
    if (ApiResult != 0) {
        if (!musicSystem.mciGetErrorString(static_cast<uint32_t>(ApiResult), MciErrorBuffer, sizeof MciErrorBuffer))
            text = kNoErrorText;
        else
            text = UpToNul(MciErrorBuffer, sizeof MciErrorBuffer);
        return ApiResult;
    }
    text = UpToNul(MciReturnBuffer, sizeof MciReturnBuffer);
    return 0;
}

std::string MciQuery(const std::string& command) {
    int32_t code = MciCommand(command, MciResultText);
    ApiResult = code;
    if (code != 0) return "Error:" + std::to_string(code);
    return MciResultText;
}

int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to) {
    std::string command = "play " + device;
    if (!from.empty()) command += " from " + from;
    if (!to.empty()) command += " to " + to;
    return MciCommand(command, MciResultText);
}

void CdOpen() {
    ApiResult = static_cast<int32_t>(Send("open cdaudio"));
    ApiResult = static_cast<int32_t>(Send("set cdaudio time format tmsf"));
}

void CdStop() {
    ApiResult = static_cast<int32_t>(Send("stop cdaudio"));
    ApiResult = static_cast<int32_t>(Send("close cdaudio"));
}

void CdPoll() {
    CdActive = kTrue;
    std::string current = MciQuery("status cdaudio current track");
    if (ContainsErr(current)) {
        CdActive = kFalse;
        return;
    }
    if (ContainsErr(MciQuery("status cdaudio number of tracks"))) {
        CdActive = kFalse;
        return;
    }
    ApiResult = static_cast<int32_t>(musicSystem.mciSendString("status cdaudio mode", CdModeBuffer, 255));
    bool stopped = std::strncmp(CdModeBuffer, "stopped", 7) == 0;
    if (BgmRepeat != 0) {
        // A current track that is no number is never the repeat track.
        double track;
        bool onTrack = ParseLocaleNumber(current, NumberLocale{}, track) && track == BgmRepeat;
        if (stopped || !onTrack) {
            std::string position = MciQuery("status cdaudio position track " + std::to_string(BgmRepeat));
            MciPlay("cdaudio", position, "");
        }
    } else if (stopped) {
        MciPlay("cdaudio", "", "");
    }
}

void Mp3Play() {
    ApiResult = static_cast<int32_t>(Send("open \"" + BgmFile + "\" type MPEGVideo Alias MP3Play"));
    if (ApiResult == 0) Send("play MP3Play");
}

bool Mp3IsPlaying() {
    musicSystem.mciSendString("status MP3Play mode", Mp3ModeBuffer, sizeof Mp3ModeBuffer);
    return std::strncmp(Mp3ModeBuffer, "playing", 7) == 0;
}

void Mp3Poll() {
    if (Mp3IsPlaying()) return;
    Send("stop MP3Play");
    Send("play MP3Play from 0");
}

void Mp3Stop() {
    Send("stop MP3Play");
    Send("close MP3Play");
}

void WavPlay() {
    if (musicSystem.waveOutGetNumDevs() <= 0) return;
    ApiResult = musicSystem.playSound(BgmFile.c_str(), kSndAsync | kSndLoop) ? 1 : 0;
}

void WavStop() { ApiResult = musicSystem.playSound(nullptr, 0) ? 1 : 0; }
