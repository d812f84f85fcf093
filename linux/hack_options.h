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

// The beat of the frames, from the start of one to the start of the next,
// in microseconds, unless -delay says otherwise: 60 frames a second at most
// (see frame_pacing.h).
constexpr long kDefaultDelayUs = 16667;
// The longest -delay taken, in microseconds.
constexpr long kLongestDelayUs = 1000000000;

struct HackOptions {
    DrawTarget target = DrawTarget::OwnWindow;
    // The window to draw into: the one named by -window-id, or under -root
    // the one in XSCREENSAVER_WINDOW; 0 under -root means the root window
    // (or the desktop's virtual root).
    unsigned long windowId = 0;
    long delayUs = kDefaultDelayUs;
    bool showFps = false;
    bool showHelp = false;    // -help: print the usage and do nothing else
    std::string modelPath;    // empty: the model installed beside the hack
    std::string displayName;  // empty: the DISPLAY environment variable
};

// Reads the arguments after the program name. Each option may start with one
// dash or two, as xscreensaver's own programs and its settings pass them.
// The options every hack takes and this one has no use for (-install,
// -visual NAME, -mono, -pair, -sync, -xrm RESOURCE, -geometry GEOMETRY,
// -bg COLOUR, -fg COLOUR) are taken and ignored. screensaverWindow is the
// XSCREENSAVER_WINDOW environment variable (null when unset). Returns false
// with a one-line problem for an unknown option, a missing value, a
// malformed window id or delay. -help stops the reading there.
bool ParseHackOptions(const std::vector<std::string>& args, const char* screensaverWindow, HackOptions& options,
                      std::string& problem);

// A window id as X programs print and take them: decimal, or hexadecimal
// after 0x. False for anything else, for 0, and for values past 32 bits.
bool ParseWindowId(const std::string& text, unsigned long& id);

// The usage, one option a line: on standard output for -help, on standard
// error after a problem.
extern const std::string kHackUsage;

// The model beside the hack: in its own folder (a build tree), else at
// installedRelative from that folder (where cmake --install or a package
// put it under whatever prefix), else at installedAbsolute (where this
// build installs it, for a hack copied elsewhere). When none exists, the
// last, so that a message names it.
std::string DefaultModelPath(const std::string& hackFolder, const std::string& installedRelative,
                             const std::string& installedAbsolute, bool (*exists)(const std::string& path));
