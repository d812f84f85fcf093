#include "start_up.h"

#include "vb_text.h"

std::string ModeLetter(const std::string& argumentText) { return Mid(UCase(argumentText), 2, 1); }

int32_t PreviewParent(const std::string& argumentText) {
    int32_t parent = 0;
    if (!ToInt32(Val(Mid(argumentText, 4)), parent)) return 0;
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
