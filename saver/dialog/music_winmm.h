// The music player's system calls: the real winmm functions, through their
// wide forms, so that a music file's path keeps every letter.
#pragma once

#include "music.h"

MusicSystem WinmmMusicSystem();
