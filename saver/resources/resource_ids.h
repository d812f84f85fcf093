// Resource numbers of Ondrake.scr, shared by its resource script and code.
#pragma once

#define IDI_ONDRAKE 1
#define IDB_MARK_UNCHOSEN 110
#define IDB_MARK_CHOSEN 111
#define IDR_PREVIEW_JPEG 120
