#include "hack_options.h"

#include <cerrno>
#include <cstdlib>

const char kHackUsage[] =
    "usage: ondrake [-window | -root | -window-id ID] [-fps] [-model FILE] [-display NAME]\n";

bool ParseWindowId(const std::string& text, unsigned long& id) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
        return false;
    errno = 0;
    unsigned long long value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (errno == ERANGE || value == 0 || value > 0xFFFFFFFFull) return false;
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
        } else if (name == "-fps") {
            options.showFps = true;
        } else if (name == "-model") {
            if (!value(options.modelPath)) return false;
        } else if (name == "-display") {
            if (!value(options.displayName)) return false;
        } else {
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
                             bool (*exists)(const std::string& path)) {
    const char kModelName[] = "Ondrake.3ds";
    std::string beside = hackFolder + "/" + kModelName;
    if (exists(beside)) return beside;
    return hackFolder + "/" + installedRelative + "/" + kModelName;
}
