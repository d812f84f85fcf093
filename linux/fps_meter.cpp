#include "fps_meter.h"

#include <cstdio>

void CountFrame(FpsMeter& meter, uint32_t nowMs) {
    if (!meter.started) {
        meter.started = true;
        meter.windowStart = nowMs;
        meter.frames = 0;
        return;
    }
    ++meter.frames;
    uint32_t elapsed = nowMs - meter.windowStart;
    if (elapsed < 1000) return;
    meter.fps = meter.frames * 1000.0 / elapsed;
    meter.windowStart = nowMs;
    meter.frames = 0;
}

std::string FpsText(const FpsMeter& meter) {
    char text[32];
    std::snprintf(text, sizeof text, "FPS: %.1f", meter.fps);
    return text;
}
