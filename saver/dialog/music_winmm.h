// The music player's system calls: the real winmm functions.
#pragma once

#include "music.h"

MusicSystem WinmmMusicSystem();
