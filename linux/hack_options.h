// The hack's command line, after xscreensaver's conventions, and where it
// finds its model when none is named. Portable: no X11 here.
#pragma once

#include <string>
#include <vector>

// Where the picture goes.
enum class DrawTarget {
    OwnWindow,  // a window of the hack's own (-window, the default)
    Root,       // the screen saver's window or the root window (-root)
    WindowId,   // a window someone else made (-window-id ID)
};

struct HackOptions {
    DrawTarget target = DrawTarget::OwnWindow;
    // The window to draw into: the one named by -window-id, or under -root
    // the one in XSCREENSAVER_WINDOW; 0 under -root means the root window.
    unsigned long windowId = 0;
    bool showFps = false;
    std::string modelPath;    // empty: the model installed beside the hack
    std::string displayName;  // empty: the DISPLAY environment variable
};

// Reads the arguments after the program name. Each option may start with one
// dash or two, as xscreensaver's own programs and its settings pass them.
// screensaverWindow is the XSCREENSAVER_WINDOW environment variable (null
// when unset). Returns false with a one-line problem for an unknown option,
// a missing value or a malformed window id.
bool ParseHackOptions(const std::vector<std::string>& args, const char* screensaverWindow, HackOptions& options,
                      std::string& problem);

// A window id as X programs print and take them: decimal, or hexadecimal
// after 0x. False for anything else, for 0, and for values past 32 bits.
bool ParseWindowId(const std::string& text, unsigned long& id);

extern const char kHackUsage[];

// The model beside the hack: in its own folder (a build tree), else at
// installedRelative from that folder (where cmake --install puts it). When
// neither exists, the installed place, so that a message names it.
std::string DefaultModelPath(const std::string& hackFolder, const std::string& installedRelative,
                             bool (*exists)(const std::string& path));
