// The settings dialog's own pictures, drawn from code: the two 12 x 12
// marks of the music choice and the program's icon.
#pragma once

#include "bitmap_file.h"
#include "icon_file.h"

// An empty light square in a grey frame; chosen, the square is blue.
Image MarkPicture(bool chosen);

// The icon at size x size pixels (32 and 16): a pale body bursting into
// shards on a dark round tile, a grey streak trailing to its left.
IconImage IconPicture(int size);
