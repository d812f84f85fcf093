#include "hack_options.h"

#include <cerrno>
#include <cstdlib>

const std::string kHackUsage =
    "usage: ondrake [OPTION]...\n"
    "  -window          draw in a window of its own (the default)\n"
    "  -root            draw in the screen saver's window, else on the desktop\n"
    "  -window-id ID    draw in the window ID (decimal, or hex after 0x)\n"
    "  -delay US        one frame every US microseconds on the whole (" + std::to_string(kDefaultDelayUs) + ")\n"
    "  -fps, -no-fps    show the frame rate in the corner, or not (the default)\n"
    "  -model FILE      the 3D Studio model to show (the one installed with it)\n"
    "  -display NAME    the X display (DISPLAY)\n"
    "  -help            this text\n";

namespace {

// Decimal or (hex) hexadecimal digits, and nothing else, up to limit.
bool ParseNumber(const std::string& digits, bool hex, unsigned long long limit, unsigned long long& value) {
    if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
        return false;
    errno = 0;
    value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    return errno != ERANGE && value <= limit;
}

}  // namespace

bool ParseWindowId(const std::string& text, unsigned long& id) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    unsigned long long value = 0;
    if (!ParseNumber(hex ? text.substr(2) : text, hex, 0xFFFFFFFFull, value) || value == 0) return false;
    id = static_cast<unsigned long>(value);
    return true;
}

bool ParseHackOptions(const std::vector<std::string>& args, const char* screensaverWindow, HackOptions& options,
                      std::string& problem) {
    options = HackOptions{};
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name.rfind("--", 0) == 0) name.erase(0, 1);
        // The options that take a value: the next argument, which must exist.
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                problem = args[i] + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string ignored;
        if (name == "-window") {
            options.target = DrawTarget::OwnWindow;
        } else if (name == "-root") {
            options.target = DrawTarget::Root;
        } else if (name == "-window-id") {
            std::string id;
            if (!value(id)) return false;
            if (!ParseWindowId(id, options.windowId)) {
                problem = "not a window id: " + id;
                return false;
            }
            options.target = DrawTarget::WindowId;
        } else if (name == "-delay") {
            std::string text;
            if (!value(text)) return false;
            unsigned long long delay = 0;
            if (!ParseNumber(text, false, kLongestDelayUs, delay)) {
                problem = "not a delay in microseconds: " + text;
                return false;
            }
            options.delayUs = static_cast<long>(delay);
        } else if (name == "-fps") {
            options.showFps = true;
        } else if (name == "-no-fps") {
            options.showFps = false;
        } else if (name == "-model") {
            if (!value(options.modelPath)) return false;
        } else if (name == "-display") {
            if (!value(options.displayName)) return false;
        } else if (name == "-help") {
            options.showHelp = true;
            return true;
        } else if (name == "-visual" || name == "-xrm" || name == "-geometry" || name == "-bg" || name == "-fg") {
            // The hack picks its own visual (see x11_target.h), reads no X
            // resources, fills the window it is given and draws its own
            // colours.
            if (!value(ignored)) return false;
        } else if (name != "-install" && name != "-mono" && name != "-pair" && name != "-sync") {
            problem = "unknown option " + args[i];
            return false;
        }
    }
    if (options.target == DrawTarget::Root) {
        options.windowId = 0;
        if (screensaverWindow && *screensaverWindow && !ParseWindowId(screensaverWindow, options.windowId)) {
            problem = std::string("XSCREENSAVER_WINDOW is not a window id: ") + screensaverWindow;
            return false;
        }
    }
    return true;
}

std::string DefaultModelPath(const std::string& hackFolder, const std::string& installedRelative,
                             const std::string& installedAbsolute, bool (*exists)(const std::string& path)) {
    const char kModelName[] = "Ondrake.3ds";
    for (const std::string& path : {hackFolder + "/" + kModelName, hackFolder + "/" + installedRelative + "/" + kModelName})
        if (exists(path)) return path;
    return installedAbsolute + "/" + kModelName;
}
