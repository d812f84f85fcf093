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
// The same at twice their size (128 x 50), in the same order.
#define IDB_COMMAND_NORMAL_2X 131
#define IDB_COMMAND_HIGHLIGHT_2X 132
#define IDB_COMMAND_PRESSED_2X 133
#define IDB_COMMAND_DISABLE_2X 134
#define IDB_COMMAND_HIGHLIGHTSELECT_2X 135
#define IDB_COMMAND_SELECTED_2X 136

// The settings dialog's marks, and the preview still.
#define IDB_MARK_UNCHOSEN 110
#define IDB_MARK_CHOSEN 111
#define IDR_PREVIEW_JPEG 120
