#include "frame_pacing.h"

#include <algorithm>

bool TimeToDraw(FramePacing& pacing, bool seen, int64_t nowUs, int64_t& waitUs) {
    if (!seen) {
        if (!pacing.unseen) pacing.unseenSinceUs = nowUs;
        pacing.unseen = true;
        waitUs = -1;
        return false;
    }
    if (pacing.unseen) {
        pacing.unseen = false;
        pacing.unseenUs += nowUs - pacing.unseenSinceUs;
        pacing.nextFrameUs = nowUs;
    }
    if (nowUs < pacing.nextFrameUs) {
        waitUs = pacing.nextFrameUs - nowUs;
        return false;
    }
    int64_t beat = pacing.drawn ? std::max(pacing.nextFrameUs, nowUs - pacing.delayUs) : nowUs;
    pacing.nextFrameUs = beat + pacing.delayUs;
    pacing.drawn = true;
    waitUs = 0;
    return true;
}

uint32_t SceneMilliseconds(const FramePacing& pacing, int64_t nowUs) {
    int64_t unseen = pacing.unseenUs + (pacing.unseen ? nowUs - pacing.unseenSinceUs : 0);
    return static_cast<uint32_t>(uint64_t(nowUs - unseen) / 1000);
}
