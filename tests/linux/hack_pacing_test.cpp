// The hack's frame loop in time: its pacing and the scene's clock, driven
// by a simulated wall clock, with the scene drawn headless as the hack
// draws it (the scene's animation advances without a model just as with
// one).
#include <gtest/gtest.h>

#include <cmath>

#include "frame_pacing.h"
#include "hack_options.h"
#include "headless_render.h"
#include "scene.h"

namespace {

int64_t wallUs = 0;
FramePacing pacing;
uint32_t SceneClock() { return SceneMilliseconds(pacing, wallUs); }
void KeepTitle(const char*) {}
void Show() {}

struct LoopRun {
    int frames = 0;
    ExplosionState explosion;
};

// runUs of wall time of the hack's loop at delayUs, each frame costing
// drawUs, its window unseen from hideUs for hiddenUs. An unseen hack's wait
// for news ends when the window is seen again; a timed wait, lateUs after
// its time (0 unless given).
LoopRun RunLoop(int64_t delayUs, int64_t drawUs, int64_t runUs, int64_t hideUs = 0, int64_t hiddenUs = 0,
                int64_t lateUs = 0) {
    HeadlessView view(64, 48);
    pacing = FramePacing{};
    pacing.delayUs = delayUs;
    const int64_t start = wallUs = 5000000000;  // long after the machine started
    SceneState scene;
    FitView(scene, 64, 48);
    SetUpScene(scene, SceneHost{nullptr, SceneClock, SceneClock, KeepTitle, Show});
    LoopRun run;
    while (wallUs - start < runUs) {
        int64_t at = wallUs - start, waitUs = 0;
        bool seen = !(hiddenUs > 0 && at >= hideUs && at < hideUs + hiddenUs);
        if (TimeToDraw(pacing, seen, wallUs, waitUs)) {
            RenderFrame(scene);
            wallUs += drawUs;
            ++run.frames;
        } else {
            EXPECT_EQ(waitUs < 0, !seen);
            wallUs += waitUs < 0 ? start + hideUs + hiddenUs - wallUs : waitUs + lateUs;
        }
    }
    run.explosion = scene.explosion;
    ReleaseScene(scene);
    return run;
}

// The spin and tumble angles and the scale of two runs agree within what
// one frame of the slower one moves them (a frame with its trail capture
// advances the animation twice).
void ExpectSameState(const ExplosionState& a, const ExplosionState& b, double frameSeconds) {
    EXPECT_NEAR(a.spinAngle, b.spinAngle, 2 * 50 * frameSeconds);
    EXPECT_NEAR(a.tumbleAngle, b.tumbleAngle, 2 * 70 * frameSeconds);
    EXPECT_NEAR(a.scale, b.scale, 2 * 0.15 * frameSeconds);
}

// How far the animation moved in the second second of wall time of a run:
// the scene's first two frames move nothing (their step is 0), whatever
// their length.
ExplosionState SecondSecond(int64_t delayUs) {
    ExplosionState first = RunLoop(delayUs, 3000, 1000000).explosion;
    ExplosionState moved = RunLoop(delayUs, 3000, 2000000).explosion;
    moved.spinAngle -= first.spinAngle;
    moved.tumbleAngle -= first.tumbleAngle;
    moved.scale -= first.scale;
    return moved;
}

TEST(HackPacing, TheDelayPacesTheFramesButNotThePicture) {
    EXPECT_NEAR(RunLoop(kDefaultDelayUs, 3000, 1000000).frames, 60, 1);
    EXPECT_NEAR(RunLoop(40000, 3000, 1000000).frames, 25, 1);
    ExplosionState fast = SecondSecond(kDefaultDelayUs), slow = SecondSecond(40000);
    ExpectSameState(fast, slow, 0.040);
    // The animation's own rate: 50 degrees a second, twice (every frame
    // captures the trail).
    EXPECT_NEAR(fast.spinAngle, 100, 2 * 50 / 60.0);
    // Unpaced, frames follow one another as fast as they are drawn.
    EXPECT_EQ(RunLoop(0, 3000, 1000000).frames, 334);
    // Drawn slower than the delay: one frame after another, no catching up.
    EXPECT_EQ(RunLoop(kDefaultDelayUs, 25000, 1000000).frames, 40);
    // Woken 3 ms late from every wait, as on a busy machine: the late
    // starts cost no frames.
    EXPECT_NEAR(RunLoop(kDefaultDelayUs, 3000, 1000000, 0, 0, 3000).frames, 60, 1);
}

TEST(HackPacing, UnseenItDrawsNothingAndGoesOnWhereItWasLeft) {
    LoopRun seen = RunLoop(kDefaultDelayUs, 3000, 1000000);
    LoopRun hidden = RunLoop(kDefaultDelayUs, 3000, 61000000, 400000, 60000000);
    EXPECT_NEAR(hidden.frames, seen.frames, 1);
    ExpectSameState(hidden.explosion, seen.explosion, kDefaultDelayUs * 1e-6);
}

TEST(HackPacing, SeenAgainItDrawsAtOnce) {
    FramePacing p;
    p.delayUs = 1000000;
    int64_t waitUs = 0;
    ASSERT_TRUE(TimeToDraw(p, true, 1000, waitUs));
    EXPECT_FALSE(TimeToDraw(p, true, 2000, waitUs));
    EXPECT_EQ(waitUs, 999000);
    EXPECT_FALSE(TimeToDraw(p, false, 3000, waitUs));
    EXPECT_EQ(waitUs, -1);
    EXPECT_TRUE(TimeToDraw(p, true, 4000, waitUs));
    EXPECT_EQ(SceneMilliseconds(p, 5000), 4u);  // 1 ms of the 5 unseen
}

}  // namespace
