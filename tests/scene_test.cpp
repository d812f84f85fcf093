// The explosion scene: animation state, the capture gate, the colours, and
// pictures rendered headless on Mesa's software rasterizer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "drake.h"
#include "fixtures.h"
#include "headless_render.h"
#include "scene.h"

namespace {

std::string WriteTemp(const std::string& name, const Bytes& bytes) {
    std::string path = testing::TempDir() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

const std::string& DrakePath() {
    static const std::string path = WriteTemp("scene_test_drake.3ds", WriteModel3ds(MakeDrake()));
    return path;
}

// Counts random draws made since a fresh generator by replaying it.
int DrawsMade(const CrtRandom& random) {
    CrtRandom replay;
    for (int n = 0; n < 100000; ++n) {
        if (replay.state == random.state) return n;
        CrtRand(replay);
    }
    return -1;
}

TEST(RateGate, OpensFirstThenOnlyAfterMoreThanItsInterval) {
    RateGateState gate;
    EXPECT_TRUE(RateGate(gate, 150, 5000));
    EXPECT_FALSE(RateGate(gate, 150, 5000));  // same tick count
    EXPECT_FALSE(RateGate(gate, 150, 5005));  // 1/200 s later
    EXPECT_FALSE(RateGate(gate, 150, 5006));
    EXPECT_TRUE(RateGate(gate, 150, 5007));   // past 1/150 s
    EXPECT_EQ(gate.lastGateTime, 5007u);

    RateGateState exact;
    RateGate(exact, 100, 0);
    EXPECT_FALSE(RateGate(exact, 100, 10));  // exactly 1/100 s: strict
    EXPECT_TRUE(RateGate(exact, 100, 11));
}

TEST(RateGate, KeepsOpeningAcrossTheTickCountWrap) {
    RateGateState gate;
    RateGate(gate, 150, 0xFFFFFFF0u);
    EXPECT_FALSE(RateGate(gate, 150, 0xFFFFFFF4u));
    EXPECT_TRUE(RateGate(gate, 150, 0x00000010u));  // 32 ms later
}

TEST(Colours, FollowTheWindowsRuntimeAndDrawBlueFirst) {
    CrtRandom random;
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) EXPECT_EQ(CrtRand(random), value);

    CrtRandom fresh;
    float rgb[3];
    NextModelColour(fresh, rgb);
    EXPECT_FLOAT_EQ(rgb[2], 0.42f);  // 41 mod 99 + 1
    EXPECT_FLOAT_EQ(rgb[1], 0.54f);  // 18467 mod 99 + 1
    EXPECT_FLOAT_EQ(rgb[0], 0.98f);  // 6334 mod 99 + 1
    for (int i = 0; i < 10000; ++i) {
        NextModelColour(fresh, rgb);
        for (float c : rgb) {
            ASSERT_GE(c, 0.01f);
            ASSERT_LE(c, 0.99f);
        }
    }
}

TEST(Explosion, AStepMovesSpinTumbleAndScale) {
    ExplosionState state;
    state.step = 0.02f;
    AdvanceExplosion(state);
    EXPECT_FLOAT_EQ(state.spinAngle, 1.0f);
    EXPECT_FLOAT_EQ(state.tumbleAngle, 1.4f);
    EXPECT_FLOAT_EQ(state.scale, 0.103f);
    EXPECT_FLOAT_EQ(state.scaleSpeed, 0.003f);
}

TEST(Explosion, ScaleBouncesBetweenItsBounds) {
    const float step = 0.02f;
    ExplosionState state;
    state.step = step;
    state.scale = 1.0f - 0.5f * (0.15f * step);
    AdvanceExplosion(state);
    EXPECT_GT(state.scale, 1.0f);
    EXPECT_FLOAT_EQ(state.scaleSpeed, -0.003f);
    AdvanceExplosion(state);
    EXPECT_LT(state.scale, 1.0f);
    EXPECT_FLOAT_EQ(state.scaleSpeed, -0.003f);
    int calls = 0;
    while (state.scaleSpeed < 0 && calls < 10000) {
        AdvanceExplosion(state);
        ++calls;
    }
    EXPECT_LT(state.scale, 0.05f);
    EXPECT_GT(state.scale, 0.05f - 0.15f * step - 1e-6f);
    EXPECT_NEAR(calls, (1.0 - 0.05) / (0.15 * step), 2);

    ExplosionState fromStart;
    fromStart.step = step;
    while (fromStart.scaleSpeed > 0) AdvanceExplosion(fromStart);
    EXPECT_GT(fromStart.scale, 1.0f);
}

class Frames : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.ok());
        scene.path = DrawPath::Arrays;
    }
    void Start(const std::string& path) { SetUpScene(scene, HeadlessHost(path.c_str(), clock, &titles)); }
    void TearDown() override { ReleaseScene(scene); }

    HeadlessView view;
    HeadlessClock clock;
    SceneState scene;
    int titles = 0;
};

TEST_F(Frames, TheFirstFrameCapturesAndLeavesTheStateAtItsStart) {
    Start(DrakePath());
    RenderFrame(scene);
    EXPECT_EQ(DrawsMade(scene.random), 6);  // two passes, three draws each
    EXPECT_EQ(titles, 1);
    EXPECT_EQ(scene.explosion.spinAngle, 0.0f);
    EXPECT_EQ(scene.explosion.tumbleAngle, 0.0f);
    EXPECT_EQ(scene.explosion.scale, 0.1f);
    RenderFrame(scene);  // the second frame still moves by the first step, 0
    EXPECT_EQ(scene.explosion.spinAngle, 0.0f);
    EXPECT_FLOAT_EQ(scene.explosion.step, 0.016f);
}

TEST_F(Frames, NoCaptureWithinTheGateInterval) {
    Start(DrakePath());
    clock.frameMs = 5;  // 1/200 s apart
    RenderFrame(scene);
    RenderFrame(scene);
    EXPECT_EQ(DrawsMade(scene.random), 6 + 3);
    RenderFrame(scene);  // 10 ms after the capture
    EXPECT_EQ(DrawsMade(scene.random), 6 + 3 + 6);
    clock.frameMs = 0;  // the tick count stays 5 ms after that capture
    RenderFrame(scene);
    RenderFrame(scene);
    EXPECT_EQ(DrawsMade(scene.random), 6 + 3 + 6 + 3 + 3);
}

TEST_F(Frames, TheTitleIsSetAgainOnceASecond) {
    Start(DrakePath());
    clock.frameMs = 100;
    for (int i = 0; i < 10; ++i) RenderFrame(scene);  // 0 .. 0.9 s
    EXPECT_EQ(titles, 1);
    RenderFrame(scene);  // 1.0 s: not above one second
    RenderFrame(scene);
    EXPECT_EQ(titles, 2);
}

TEST_F(Frames, ATriangleWithZeroFaceNormalIsNotDisplaced) {
    ObjectData object;
    object.name = "Flat";
    object.positions = {0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0};
    object.faces = {0, 1, 2, 3, 4, 5};
    Start(WriteTemp("scene_test_flat.3ds", WriteModel3ds({object})));
    ASSERT_EQ(scene.vertexCount, 6);
    EXPECT_EQ(scene.faceNormals[2], 0.0f);
    EXPECT_EQ(scene.faceNormals[5], 1.0f);
    DrawExplosion(scene);
    // Normal, then position, per vertex; no tumble yet.
    const float* buffer = scene.drawBuffer.get();
    EXPECT_EQ(buffer[6 + 3], 1.0f);
    EXPECT_EQ(buffer[6 + 5], 0.0f);
    EXPECT_EQ(buffer[18 + 3], 0.0f);
    EXPECT_FLOAT_EQ(buffer[18 + 5], 10.0f);  // face normal (0, 0, 1) / 0.1
}

TEST_F(Frames, AZeroHeightViewCountsAsOnePixelHigh) {
    ResizeView(1024, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 1);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    double f = 1.0 / std::tan(22.5 * 3.14159265358979323846 / 180.0);
    // The matrix is kept in single precision.
    EXPECT_NEAR(projection[0], f / 1024.0, 1e-8);  // aspect 1024 / 1
    EXPECT_NEAR(projection[5], f, 1e-6);
    EXPECT_NEAR(projection[14], 2 * 1000.0 * 0.1 / (0.1 - 1000.0), 1e-6);  // near 0.1, far 1000
}

// Pixels whose channels differ: the model's colour, not the grey trail.
int Coloured(const Picture& picture, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = picture.Pixel(x, y);
            if (std::abs(p[0] - p[1]) > 24 || std::abs(p[1] - p[2]) > 24) ++count;
        }
    return count;
}

int Grey(const Picture& picture, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = picture.Pixel(x, y);
            if (p[0] > 24 && p[0] == p[1] && p[1] == p[2]) ++count;
        }
    return count;
}

TEST(Pictures, OurModelIsColouredAroundTheCentre) {
    Picture picture = RenderModel(DrakePath().c_str(), 1);
    ASSERT_EQ(picture.width, 1024);
    EXPECT_GT(Coloured(picture, 312, 184, 712, 584), 20000);
    EXPECT_LT(Coloured(picture, 0, 0, 150, 768), 100);
}

TEST(Pictures, TheGreyTrailStandsLeftOfTheModel) {
    Picture picture = RenderModel(DrakePath().c_str(), 90);
    int left = Grey(picture, 0, 0, 300, 768), right = Grey(picture, 724, 0, 1024, 768);
    EXPECT_GT(left, 20000);
    EXPECT_GT(left, 10 * right);
}

TEST(Pictures, NoModelGivesABlackPicture) {
    testing::internal::CaptureStderr();
    Picture picture = RenderModel("/nonexistent/Ondrake.3DS", 30);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error open /nonexistent/Ondrake.3DS file\n");
    ASSERT_FALSE(picture.rgba.empty());
    size_t lit = 0;
    for (size_t i = 0; i < picture.rgba.size(); i += 4)
        if (picture.rgba[i] || picture.rgba[i + 1] || picture.rgba[i + 2]) ++lit;
    EXPECT_EQ(lit, 0u);
}

TEST(Pictures, ArraysDrawTheSamePictureAsImmediateMode) {
    for (int frames : {1, 30}) {
        Picture reference = RenderModel(DrakePath().c_str(), frames, DrawPath::Immediate);
        Picture fast = RenderModel(DrakePath().c_str(), frames, DrawPath::Arrays);
        ASSERT_EQ(reference.rgba.size(), fast.rgba.size());
        size_t differ = 0, lit = 0;
        for (size_t i = 0; i < reference.rgba.size(); i += 4) {
            int d = 0;
            for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(reference.rgba[i + c] - fast.rgba[i + c]));
            if (d > 16) ++differ;
            if (reference.rgba[i] || reference.rgba[i + 1] || reference.rgba[i + 2]) ++lit;
        }
        // Rounding moves a few edge pixels; the picture is the same.
        EXPECT_GT(lit, 50000u) << frames;
        EXPECT_LT(differ, lit / 10000) << frames << " frames: " << differ << " of " << lit << " lit pixels differ";
    }
}

}  // namespace
