// The explosion scene: the model spins and tumbles 50 units in front of the
// camera while every triangle flies out along its face normal and back,
// over a grey feedback trail of the previous pictures.
//
// Portable: it needs an OpenGL 1.1 context made current by its caller and
// the few platform services in SceneHost, so it renders in the saver's
// window and headless alike.
#pragma once

#include <cstdint>
#include <memory>

#include "gl.h"
#include "mesh.h"

// Platform services handed to the scene by the program shell.
struct SceneHost {
    const char* modelPath;
    uint32_t (*tickCount)();  // milliseconds (GetTickCount): paces trail captures
    uint32_t (*frameTime)();  // milliseconds (timeGetTime): the animation clock
    void (*setTitle)(const char* title);  // sets the render window's title
    void (*swapBuffers)();  // shows the finished frame
};

// Remembers when the gate last opened. Times are tick counts in
// milliseconds, compared by unsigned difference so that the 49.7-day wrap
// of the tick count does not shut the gate.
struct RateGateState {
    uint32_t lastGateTime = 0;
    bool opened = false;
};

// True when more than 1 / ratePerSecond seconds have passed since it last
// returned true (strictly more), or on its first call; then records now.
bool RateGate(RateGateState& gate, int ratePerSecond, uint32_t nowMs);

// The Windows C runtime's rand(): same numbers on every build, unseeded.
struct CrtRandom {
    uint32_t state = 1;
};
int CrtRand(CrtRandom& random);  // 0 .. 32767

// Draws the model's colour for one pass: blue, then green, then red, each
// (x mod 99 + 1) / 100. Fills rgb in red, green, blue order.
void NextModelColour(CrtRandom& random, float rgb[3]);

// Angles in degrees, times in seconds.
struct ExplosionState {
    float spinAngle = 0.0f;    // about the y axis
    float tumbleAngle = 0.0f;  // about (1, 0, 1)
    float scale = 0.1f;        // divides each triangle's displacement
    float scaleSpeed = 0.003f;
    float step = 0.0f;         // seconds between the last two frame-clock readings
    uint32_t previousTime = 0; // milliseconds at the last reading
    bool clockStarted = false;
};

// Moves the explosion on by its current step.
void AdvanceExplosion(ExplosionState& state);

// How the model's triangles reach OpenGL. Immediate: per triangle a matrix
// push, translate, rotate and begin/end, as the saver first drew it; kept as
// the reference. Arrays: the same transforms applied on the CPU into a
// buffer kept from frame to frame, sent with one draw call per pass.
enum class DrawPath { Immediate, Arrays };

// The side of the square trail texture and of the largest capture into it,
// in pixels.
constexpr int kTrailSize = 256;

struct SceneState {
    SceneHost host{};
    // The overlay space and the display viewport, in pixels: the saver's
    // fixed screen, or a window's own size where the window sets it.
    int screenWidth = 1024;
    int screenHeight = 768;
    DrawPath path = DrawPath::Arrays;
    std::unique_ptr<FlatVertex[]> model;
    int vertexCount = 0;
    std::unique_ptr<float[]> faceNormals;  // 3 per triangle
    std::unique_ptr<float[]> drawBuffer;   // normal and position per vertex
    GLuint TrailTexture = 0;
    // Pixels of the trail texture (from its lower-left corner) that the last
    // capture filled: all of it unless the screen is smaller than that.
    int trailWidth = kTrailSize;
    int trailHeight = kTrailSize;
    ExplosionState explosion;
    CrtRandom random;
    RateGateState gate;
    uint32_t lastTitleTime = 0;
    bool titleShown = false;
};

// Viewport and projection for a window of width x height pixels: 45 degree
// vertical field of view, near 0.1, far 1000. A height of 0 counts as 1.
void ResizeView(int width, int height);

// The scene drawn at a window's own size: its overlay space, its display
// viewport and the projection follow width x height pixels.
void FitView(SceneState& scene, int width, int height);

// A host without a model path keeps the model the caller put in the scene
// (from a file it opened itself), if any; without one the picture stays
// black, as for a model that cannot be read.
void SetUpScene(SceneState& scene, const SceneHost& host);
void CreateTrailTexture(SceneState& scene);
// Screen space of width x height pixels, y growing downward.
void BeginScreenOverlay(int width, int height);
void EndScreenOverlay();
void DrawTrailQuad(const SceneState& scene);
void DrawExplosion(SceneState& scene);
void RenderFrame(SceneState& scene);
void ReleaseScene(SceneState& scene);
