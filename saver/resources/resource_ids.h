// Resource identifiers of Ondrake.scr, shared by its resource scripts and
// its code.
#pragma once

// The Command button's faces (button_faces.rc), in the order of its Face
// values.
#define IDB_COMMAND_NORMAL 101
#define IDB_COMMAND_HIGHLIGHT 102
#define IDB_COMMAND_PRESSED 103
#define IDB_COMMAND_DISABLE 104
#define IDB_COMMAND_HIGHLIGHTSELECT 105
#define IDB_COMMAND_SELECTED 106
