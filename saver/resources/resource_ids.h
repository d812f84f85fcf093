// Resource identifiers of Ondrake.scr, shared by its resource scripts and
// its code.
#pragma once

#define IDI_ONDRAKE 1

// The Command button's faces (button_faces.rc), in the order of its Face
// values.
#define IDB_COMMAND_NORMAL 101
#define IDB_COMMAND_HIGHLIGHT 102
#define IDB_COMMAND_PRESSED 103
#define IDB_COMMAND_DISABLE 104
#define IDB_COMMAND_HIGHLIGHTSELECT 105
#define IDB_COMMAND_SELECTED 106

// The settings dialog's marks, and the preview still.
#define IDB_MARK_UNCHOSEN 110
#define IDB_MARK_CHOSEN 111
#define IDR_PREVIEW_JPEG 120
