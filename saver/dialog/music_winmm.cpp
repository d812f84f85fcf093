#include "music_winmm.h"

#include <windows.h>

#include <mmsystem.h>

namespace {

uint32_t SendString(const char* command, char* returnText, unsigned returnSize) {
    return mciSendStringA(command, returnText, returnSize, nullptr);
}

bool GetErrorString(uint32_t error, char* text, unsigned size) { return mciGetErrorStringA(error, text, size) != FALSE; }

bool Play(const char* sound, unsigned flags) { return PlaySoundA(sound, nullptr, flags) != FALSE; }

int WaveOutDevices() { return static_cast<int>(waveOutGetNumDevs()); }

}  // namespace

MusicSystem WinmmMusicSystem() { return MusicSystem{SendString, GetErrorString, Play, WaveOutDevices}; }
