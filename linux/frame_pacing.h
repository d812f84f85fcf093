// When the hack draws: a frame at most every delay, none while its window
// cannot be seen, and the scene's clock stopped meanwhile, so that the
// picture goes on where it was left rather than leaping by the time away.
// Portable: the wall time is passed in.
#pragma once

#include <cstdint>

struct FramePacing {
    int64_t delayUs = 0;        // shortest time from one frame's start to the next's
    int64_t nextFrameUs = 0;    // wall time from which the next frame may start
    int64_t unseenUs = 0;       // wall time spent unseen, before unseenSinceUs
    int64_t unseenSinceUs = 0;  // wall time at which the window was last lost from view
    bool unseen = false;
};

// What the frame loop does next at wall time nowUs (a monotonic clock in
// microseconds), its window seen or not: true to draw a frame now; false to
// wait for news of the window for up to waitUs microseconds, or until news
// comes when waitUs is -1 (the window is unseen).
bool TimeToDraw(FramePacing& pacing, bool seen, int64_t nowUs, int64_t& waitUs);

// The scene's clock at wall time nowUs, in milliseconds: the wall time less
// the time spent unseen, wrapping like the Windows tick count.
uint32_t SceneMilliseconds(const FramePacing& pacing, int64_t nowUs);
