// The background music of the full-screen run: an audio CD through the MCI
// "cdaudio" device, an MP3 file through the MPEGVideo device under the
// alias "MP3Play", or a WAV file looped by PlaySound. Start, poll and stop
// for each; nothing here ever shows the user a message.
//
// Portable: the four system calls come through MusicSystem, the winmm
// functions on Windows and a scripted device in the tests. Their texts
// (commands, replies, sound names) are UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "vb_text.h"

struct MusicSystem {
    // mciSendString(command, returnText, returnSize in bytes, no window):
    // 0 or an MCI error code. returnText may be null with size 0.
    uint32_t (*mciSendString)(const char* command, char* returnText, unsigned returnSize);
    // mciGetErrorString: false when the code has no text.
    bool (*mciGetErrorString)(uint32_t error, char* text, unsigned size);
    // PlaySound(sound, no module, flags); sound may be null.
    bool (*playSound)(const char* sound, unsigned flags);
    // waveOutGetNumDevs.
    int (*waveOutGetNumDevs)();
};

extern MusicSystem musicSystem;

// Module state, kept between calls.
extern int16_t CdActive;  // the last CD poll's verdict; the CD timer follows it
extern char CdModeBuffer[256];
extern char MciReturnBuffer[512];
extern char MciErrorBuffer[256];
extern char Mp3ModeBuffer[30];
extern std::string MciResultText;

// Flags of PlaySound: asynchronous and looping.
constexpr unsigned kSndAsync = 0x0001, kSndLoop = 0x0008;

void CdOpen();
void CdPoll();
void CdStop();
void Mp3Play();
bool Mp3IsPlaying();
void Mp3Poll();
void Mp3Stop();
void WavPlay();
void WavStop();

// Sends a command with a reply buffer: 0 and the reply, or the MCI error
// code and its text; -1 and a fixed text for an empty command (not sent).
int32_t MciCommand(const std::string& command, std::string& text);
// The reply, or "Error:" and the decimal error code.
std::string MciQuery(const std::string& command);
// "play " + device [+ " from " + from] [+ " to " + to]; the code as
// MciCommand gives it.
int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to);
