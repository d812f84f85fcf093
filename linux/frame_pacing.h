// When the hack draws: frames on a beat of one every delay, none while its
// window cannot be seen, and the scene's clock stopped meanwhile, so that
// the picture goes on where it was left rather than leaping by the time
// away. Portable: the wall time is passed in.
//
// A frame that starts late (its wait woke late on a busy machine, or the
// frame before took long) keeps the beat: the next starts on it, up to a
// whole delay sooner, so the frames still come once every delay on the
// whole. A frame that starts more than a delay late sets a new beat: the
// time lost is not made up.
#pragma once

#include <cstdint>

struct FramePacing {
    int64_t delayUs = 0;        // the beat: from one frame's start to the next's
    int64_t nextFrameUs = 0;    // wall time of the next beat, from which the next frame may start
    bool drawn = false;         // a frame drawn, so the beat is set
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
