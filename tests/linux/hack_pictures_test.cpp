// The scene drawn at a window's own size, headless on Mesa's software
// rasterizer, and the frame-rate text in the corner.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fixtures.h"
#include "headless_render.h"
#include "overlay_text.h"
#include "scene.h"

namespace {

bool IsColoured(const unsigned char* p) { return std::abs(p[0] - p[1]) > 24 || std::abs(p[1] - p[2]) > 24; }
bool IsGrey(const unsigned char* p) { return p[0] > 24 && p[0] == p[1] && p[1] == p[2]; }

struct Extent {
    int coloured = 0, left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    int greyLeft = 0;      // grey pixels in the left tenth
    int colouredLeft = 0;  // coloured pixels there
};

Extent Measure(const Picture& picture) {
    Extent e;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* p = picture.Pixel(x, y);
            bool leftTenth = x < picture.width / 10;
            if (IsColoured(p)) {
                ++e.coloured;
                e.left = std::min(e.left, x);
                e.right = std::max(e.right, x);
                e.top = std::min(e.top, y);
                e.bottom = std::max(e.bottom, y);
                if (leftTenth) ++e.colouredLeft;
            } else if (leftTenth && IsGrey(p)) {
                ++e.greyLeft;
            }
        }
    return e;
}

// The picture after frames frames in a window of width x height, drawn as
// the hack draws it.
Picture RenderAt(int width, int height, int frames, SceneState* out = nullptr) {
    HeadlessView view(width, height);
    if (!view.ok()) return {};
    HeadlessClock clock;
    SceneState scene;
    scene.screenWidth = width;
    scene.screenHeight = height;
    SetUpScene(scene, HeadlessHost(DrakePath().c_str(), clock));
    for (int i = 0; i < frames; ++i) RenderFrame(scene);
    Picture picture = view.Read();
    if (out) {
        out->trailWidth = scene.trailWidth;
        out->trailHeight = scene.trailHeight;
    }
    ReleaseScene(scene);
    return picture;
}

// The model is centred and scaled with the window, and the trail spreads
// over its left side, whatever the window's size and shape.
TEST(HackPictures, TheSceneFillsWindowsOfAnySize) {
    struct Size {
        int width, height;
    };
    for (Size size : {Size{1920, 1080}, Size{640, 480}, Size{800, 1000}}) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        Picture picture = RenderAt(size.width, size.height, 60);
        ASSERT_EQ(picture.width, size.width);
        Extent e = Measure(picture);
        ASSERT_GT(e.coloured, size.width * size.height / 100);
        EXPECT_NEAR((e.left + e.right) / 2.0, size.width / 2.0, size.width * 0.1);
        EXPECT_NEAR((e.top + e.bottom) / 2.0, size.height / 2.0, size.height * 0.1);
        // The view's height sets the model's size, as in the saver.
        EXPECT_GT(e.bottom - e.top, size.height / 4);
        EXPECT_LT(e.bottom - e.top, size.height);
        EXPECT_GT(e.greyLeft, size.width * size.height / 100);
        EXPECT_EQ(e.colouredLeft, 0);
    }
}

// A window smaller than the trail texture: the capture fills only its
// corner of the texture, and the trail stays a grey picture of the window.
TEST(HackPictures, AWindowSmallerThanTheTrailKeepsAGreyTrail) {
    SceneState small;
    Picture picture = RenderAt(200, 150, 60, &small);
    EXPECT_EQ(small.trailWidth, 200);
    EXPECT_EQ(small.trailHeight, 150);
    Extent e = Measure(picture);
    EXPECT_GT(e.coloured, 300);
    EXPECT_GT(e.greyLeft, 200 * 150 / 100);
    EXPECT_EQ(e.colouredLeft, 0);

    SceneState wide;
    RenderAt(1000, 100, 3, &wide);
    EXPECT_EQ(wide.trailWidth, 256);
    EXPECT_EQ(wide.trailHeight, 100);
}

// Growing and shrinking the window between frames, as the hack does on a
// resize: the trail follows the window's size each time.
TEST(HackPictures, TheTrailFollowsAResize) {
    HeadlessView view(640, 480);
    ASSERT_TRUE(view.ok());
    HeadlessClock clock;
    SceneState scene;
    scene.screenWidth = 640;
    scene.screenHeight = 480;
    SetUpScene(scene, HeadlessHost(DrakePath().c_str(), clock));
    RenderFrame(scene);
    EXPECT_EQ(scene.trailWidth, 256);
    for (auto [width, height] : {std::pair{120, 90}, std::pair{640, 480}, std::pair{120, 90}}) {
        FitView(scene, width, height);
        for (int i = 0; i < 3; ++i) RenderFrame(scene);
        EXPECT_EQ(scene.trailWidth, std::min(width, 256));
        EXPECT_EQ(scene.trailHeight, std::min(height, 256));
    }
    ReleaseScene(scene);
}

// "FPS: 18.0" as it should read, a dot of the 5 x 7 font per character,
// one dot apart.
const std::vector<std::string> kFps18 = {
    "#####.####...####...............#....###.........###.",
    "#.....#...#.#......##..........##...#...#.......#...#",
    "#.....#...#.#......##...........#...#...#.......#..##",
    "####..####...###................#....###........#.#.#",
    "#.....#.........#..##...........#...#...#.......##..#",
    "#.....#.........#..##...........#...#...#..##...#...#",
    "#.....#.....####...............###...###...##....###.",
};

TEST(CornerText, DrawsItsTextInTheLowerLeftAndRestoresTheState) {
    const int width = 1920, height = 1080, dot = 4;  // 1080 / 270
    ASSERT_EQ(TextDotSize(height), dot);
    HeadlessView view(width, height);
    ASSERT_TRUE(view.ok());
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor3f(0.25f, 0.5f, 0.75f);
    DrawCornerText("FPS: 18.0", width, height);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 0.5f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // Only white is drawn, within a few dots of the lower-left corner.
    Picture picture = view.Read();
    int white = 0, other = 0, left = width, top = height, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = picture.Pixel(x, y);
            if (!(p[0] || p[1] || p[2])) continue;
            if (!(p[0] == 255 && p[1] == 255 && p[2] == 255)) {
                ++other;
                continue;
            }
            ++white;
            left = std::min(left, x), top = std::min(top, y), bottom = std::max(bottom, y);
        }
    EXPECT_EQ(other, 0);
    EXPECT_LE(left, 3 * dot);
    EXPECT_GE(bottom, height - 3 * dot);
    // Read dot by dot from the text's top-left corner: every dot whole and
    // nothing besides them.
    std::vector<std::string> read;
    int dots = 0;
    for (int row = 0; row < int(kFps18.size()); ++row) {
        read.emplace_back();
        for (int column = 0; column < int(kFps18[0].size()); ++column) {
            bool lit = picture.Pixel(left + column * dot + dot / 2, top + row * dot + dot / 2)[0] == 255;
            read.back() += lit ? '#' : '.';
            dots += kFps18[row][column] == '#';
        }
    }
    EXPECT_EQ(read, kFps18);
    EXPECT_EQ(white, dots * dot * dot);
}

}  // namespace
