// The frame rate shown under -fps: frames counted over about a second.
#pragma once

#include <cstdint>
#include <string>

struct FpsMeter {
    uint32_t windowStart = 0;  // milliseconds at the start of the count
    int frames = 0;            // frames since then
    bool started = false;
    double fps = 0.0;          // the last full count; 0 until one second has passed
};

// Counts one frame shown at nowMs (a monotonic clock in milliseconds). At
// least a second after the count began, the rate is taken and the count
// starts again.
void CountFrame(FpsMeter& meter, uint32_t nowMs);

// "FPS: 59.9", the text drawn in the corner.
std::string FpsText(const FpsMeter& meter);
