// The explosion scene: animation state, the capture gate, the colours, and
// pictures rendered headless on Mesa's software rasterizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "drake.h"
#include "fixtures.h"
#include "headless_render.h"
#include "scene.h"

namespace {

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
    EXPECT_EQ(titles, 1);
    clock.frameMs = 1;
    RenderFrame(scene);  // 1.001 s
    EXPECT_EQ(titles, 2);
}

TEST_F(Frames, ATriangleWithZeroFaceNormalIsNotDisplaced) {
    ObjectData object;
    object.name = "Flat";
    object.positions = {0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0};
    object.faces = {0, 1, 2, 3, 4, 5};
    Start(WriteFile(TestFolder() + "scene_test_flat.3ds", WriteModel3ds({object})));
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

// Single triangles whose place and shade on the first frame are worked out
// here from the camera, the spin, the projection and the light, so each of
// those values shows in the picture.
struct Vec {
    double x, y, z;
};

Vec Add(Vec a, Vec b, double k = 1) { return {a.x + k * b.x, a.y + k * b.y, a.z + k * b.z}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Turned by degrees about the y axis, as glRotatef turns it.
Vec SpinY(Vec v, double degrees) {
    double a = degrees * 3.14159265358979323846 / 180.0;
    return {std::cos(a) * v.x + std::sin(a) * v.z, v.y, -std::sin(a) * v.x + std::cos(a) * v.z};
}

// Eye coordinates of corner p of a triangle whose face normal is n, with
// no tumble: pushed out along n by 1 / scale, spun, 50 units ahead.
Vec EyePoint(Vec p, Vec n, double spin, double scale = 0.1) {
    return Add(SpinY(Add(p, n, 1 / scale), spin), {0, 0, -50});
}

// Normalised device coordinates under the 45 degree, 4:3 projection.
Vec Project(Vec eye) {
    double f = 1.0 / std::tan(22.5 * 3.14159265358979323846 / 180.0);
    return {f / (1024.0 / 768.0) * eye.x / -eye.z, f * eye.y / -eye.z, 0};
}

// Pixel of the 1024 x 768 picture, rows from the top.
Vec ScreenPixel(Vec ndc) { return {(ndc.x + 1) * 512, (1 - ndc.y) * 384, 0}; }

// One channel lit by light 0 at (10, 0, -20) with the other lighting values
// left at OpenGL's defaults: 0.2 of ambient light plus the diffuse term.
double Lit(double colour, Vec eye, Vec normal) {
    Vec toLight = Add({10, 0, -20}, eye, -1);
    double d = Dot(normal, toLight) / std::sqrt(Dot(toLight, toLight));
    return std::min(1.0, colour * (0.2 + std::max(0.0, d)));
}

// Facing +z, 15 units left of the origin: the light falls on it at a
// slant, so its shade says where the light is and how it was drawn.
const Vec kLeftCorners[3] = {{-17, -2, 0}, {-13, -2, 0}, {-15, 2, 0}};

// A model of separate triangles, three corners each, in drawing order.
std::string TrianglesPath(const std::string& name, const std::vector<Vec>& corners) {
    ObjectData object;
    object.name = "Probe";
    for (const Vec& c : corners) {
        object.positions.insert(object.positions.end(), {float(c.x), float(c.y), float(c.z)});
        object.faces.push_back(static_cast<uint16_t>(object.faces.size()));
    }
    return WriteFile(TestFolder() + name, WriteModel3ds({object}));
}

std::string LeftTrianglePath() {
    return TrianglesPath("scene_test_left.3ds", {std::begin(kLeftCorners), std::end(kLeftCorners)});
}

// The model's pixels: the trail is grey, the model never is.
bool IsModel(const unsigned char* p) { return p[0] != p[1] || p[1] != p[2]; }

// The first frame's random draws: blue, green, red for the capture pass,
// then again for the display pass.
constexpr double kCaptureColour[3] = {0.98, 0.54, 0.42};
constexpr double kDisplayColour[3] = {0.83, 0.63, 0.68};

TEST_F(Frames, ATriangleLandsWhereTheCameraSpinAndProjectionPutIt) {
    const std::string path = LeftTrianglePath();
    for (DrawPath drawPath : {DrawPath::Immediate, DrawPath::Arrays})
        for (double spin : {0.0, 60.0, -60.0}) {
            SCOPED_TRACE(testing::Message() << "spin " << spin
                                            << (drawPath == DrawPath::Arrays ? ", arrays" : ", immediate"));
            SceneState fresh;
            fresh.path = drawPath;
            SetUpScene(fresh, HeadlessHost(path.c_str(), clock, &titles));
            fresh.explosion.spinAngle = float(spin);
            RenderFrame(fresh);
            Picture picture = view.Read();
            ReleaseScene(fresh);

            double low[2] = {1e9, 1e9}, high[2] = {-1e9, -1e9};
            for (const Vec& corner : kLeftCorners) {
                Vec pixel = ScreenPixel(Project(EyePoint(corner, {0, 0, 1}, spin)));
                low[0] = std::min(low[0], pixel.x), high[0] = std::max(high[0], pixel.x);
                low[1] = std::min(low[1], pixel.y), high[1] = std::max(high[1], pixel.y);
            }
            int found[4] = {1024, 768, -1, -1};
            for (int y = 0; y < 768; ++y)
                for (int x = 0; x < 1024; ++x)
                    if (IsModel(picture.Pixel(x, y))) {
                        found[0] = std::min(found[0], x), found[1] = std::min(found[1], y);
                        found[2] = std::max(found[2], x), found[3] = std::max(found[3], y);
                    }
            // Pixels are lit when their centres (x + 0.5) fall inside.
            EXPECT_NEAR(found[0] + 0.5, low[0], 1.5);
            EXPECT_NEAR(found[2] + 0.5, high[0], 1.5);
            EXPECT_NEAR(found[1] + 0.5, low[1], 1.5);
            EXPECT_NEAR(found[3] + 0.5, high[1], 1.5);
        }
}

TEST_F(Frames, TheDisplayPassIsLitAndTheCapturePassFlat) {
    Start(LeftTrianglePath());
    RenderFrame(scene);
    Picture picture = view.Read();

    // The triangle faces the camera, so its colours interpolate linearly on
    // the screen and the centroid shows the mean of the corners' shades.
    Vec centroid{0, 0, 0};
    double shade[3] = {0, 0, 0};
    for (const Vec& corner : kLeftCorners) {
        Vec eye = EyePoint(corner, {0, 0, 1}, 0);
        centroid = Add(centroid, corner, 1.0 / 3);
        for (int c = 0; c < 3; ++c) shade[c] += Lit(kDisplayColour[c], eye, {0, 0, 1}) / 3;
    }
    Vec ndc = Project(EyePoint(centroid, {0, 0, 1}, 0));
    Vec pixel = ScreenPixel(ndc);
    const unsigned char* shown = picture.Pixel(int(pixel.x), int(pixel.y));
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(shown[c], 255 * shade[c], 3) << "channel " << c;

    // The capture pass drew its own colour unlit into the trail texture,
    // which keeps the red channel as its grey.
    std::vector<unsigned char> trail(256 * 256);
    glBindTexture(GL_TEXTURE_2D, scene.TrailTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, trail.data());
    int texel = int((ndc.y + 1) * 128) * 256 + int((ndc.x + 1) * 128);
    EXPECT_NEAR(trail[texel], 255 * kCaptureColour[0], 2);
}

TEST_F(Frames, TheNearerOfTwoOverlappingTrianglesHidesTheOther) {
    // The near triangle faces the camera and is drawn first; the far one,
    // larger and behind it, faces away, so it would show only the ambient
    // fifth of the colour.
    Start(TrianglesPath("scene_test_overlap.3ds",
                        {{-2, -2, 0}, {2, -2, 0}, {0, 2, 0}, {-8, -8, 0}, {0, 8, 0}, {8, -8, 0}}));
    RenderFrame(scene);
    Picture picture = view.Read();
    Vec near = EyePoint({0, -2.0 / 3, 0}, {0, 0, 1}, 0);
    Vec pixel = ScreenPixel(Project(near));
    const unsigned char* shown = picture.Pixel(int(pixel.x), int(pixel.y));
    EXPECT_NEAR(shown[0], 255 * Lit(kDisplayColour[0], near, {0, 0, 1}), 3);
}

TEST_F(Frames, TheTrailAddsNinetyThreeHundredthsOfItsGreyToTheFrame) {
    Start(DrakePath());
    std::vector<unsigned char> grey(256 * 256, 160);
    glBindTexture(GL_TEXTURE_2D, scene.TrailTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 256, 256, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, grey.data());
    const float below[3] = {0.1f, 0.2f, 0.3f};
    glClearColor(below[0], below[1], below[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);  // as every frame draws its trail
    DrawTrailQuad(scene);
    Picture picture = view.Read();
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(picture.Pixel(512, 384)[c], 255 * below[c] + 0.93 * 160, 2) << "channel " << c;
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
    for (int frames : {1, 8}) {  // the first picture, and one flown apart over its trail
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
