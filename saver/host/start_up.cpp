#include "start_up.h"

#include "vb_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string ArgumentsOf(const std::string& commandLine, bool (*namesProgram)(const std::string& candidate)) {
    size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        end = commandLine.find('"', 1);
        end = end == std::string::npos ? commandLine.size() : end + 1;
    } else {
        size_t firstBlank = std::string::npos;
        for (end = 0; end <= commandLine.size(); ++end) {
            if (end < commandLine.size() && !IsBlank(commandLine[end])) continue;
            if (firstBlank == std::string::npos) firstBlank = end;
            if (end > 0 && namesProgram(commandLine.substr(0, end))) break;
        }
        if (end > commandLine.size()) end = firstBlank;
    }
    while (end < commandLine.size() && IsBlank(commandLine[end])) ++end;
    return commandLine.substr(end);
}

std::string ModeLetter(const std::string& argumentText) { return Mid(UCase(argumentText), 2, 1); }

int32_t PreviewParent(const std::string& argumentText) {
    double value = Val(Mid(argumentText, 4));
    if (value >= 2147483647.5 && value < 4294967295.5) value -= 4294967296.0;
    int32_t parent = 0;
    if (!ToInt32(value, parent)) return 0;
    return parent;
}

int16_t PreviewTwips(int32_t pixels, float twipsPerPixel) {
    int16_t twips = 0;
    if (!ToInt16(pixels * static_cast<double>(twipsPerPixel), twips)) return 0;
    return twips;
}

bool RendererGone(RendererWatch& watch, bool windowFound, bool processEnded, uint32_t nowMs) {
    if (windowFound) {
        watch.windowSeen = true;
        return false;
    }
    if (watch.windowSeen || !watch.started || processEnded) return true;
    return nowMs - watch.startTime > kRendererStartLimitMs;
}
