#include "music_winmm.h"

#include <windows.h>

#include <mmsystem.h>

#include <vector>

#include "code_pages.h"

namespace {

// A reply of the wide functions into the caller's buffer of so many bytes,
// UTF-8, cut between characters.
void CopyReply(const wchar_t* reply, char* text, unsigned size) {
    if (!text || size == 0) return;
    std::wstring wide(reply);
    std::string bytes = Utf8FromWide(wide);
    while (bytes.size() >= size) {
        wide.pop_back();
        bytes = Utf8FromWide(wide);
    }
    bytes.copy(text, bytes.size());
    text[bytes.size()] = '\0';
}

uint32_t SendString(const char* command, char* returnText, unsigned returnSize) {
    std::vector<wchar_t> reply(returnSize + 1, L'\0');
    uint32_t code = mciSendStringW(WideFromUtf8(command).c_str(), returnText ? reply.data() : nullptr,
                                   returnText ? returnSize : 0, nullptr);
    if (code == 0) CopyReply(reply.data(), returnText, returnSize);
    return code;
}

bool GetErrorString(uint32_t error, char* text, unsigned size) {
    std::vector<wchar_t> reply(size + 1, L'\0');
    if (!mciGetErrorStringW(error, reply.data(), size)) return false;
    CopyReply(reply.data(), text, size);
    return true;
}

bool Play(const char* sound, unsigned flags) {
    std::wstring name = sound ? WideFromUtf8(sound) : std::wstring();
    return PlaySoundW(sound ? name.c_str() : nullptr, nullptr, flags) != FALSE;
}

int WaveOutDevices() { return static_cast<int>(waveOutGetNumDevs()); }

}  // namespace

MusicSystem WinmmMusicSystem() { return MusicSystem{SendString, GetErrorString, Play, WaveOutDevices}; }
