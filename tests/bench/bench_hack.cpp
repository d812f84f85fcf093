// Drawing benchmark of the xscreensaver hack: what its frame costs on the
// GL at hand (GLX on the root window of the display in DISPLAY, as the hack
// draws under -root), beside the least a frame of the same picture can cost
// there: the same triangles, already transformed, drawn twice from a buffer
// the GL holds, with the same trail quads, trail copy, finish and swap.
// Both are measured in turns, in the same run, at four states of the
// explosion (from flung far apart to whole), for our model and for a model
// of about 100,000 triangles. Printed per frame: CPU time of all the
// process's threads (the driver's rasterizer threads too), wall time and
// page faults; and our CPU time as a ratio of the least. bench_hack.sh runs
// it on an Xvfb of 640 x 480.
#define GL_GLEXT_PROTOTYPES 1
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>

#include "bench_models.h"
#include "frame_memory.h"
#include "scene.h"
#include "x11_target.h"

namespace {

X11Target target;
// The display's, as measured.
int width = 0, height = 0;
std::string renderer;

// The trail is captured on every frame, as at any rate the hack reaches on
// a software GL (each frame's tick is 7 ms on, just over the 1/150 s the
// trail's gate waits); the animation stands still, at the state the
// benchmark sets, so that both frames draw the same picture.
uint32_t tickMs = 0;
uint32_t Tick() { return tickMs += 7; }
uint32_t Frozen() { return 1000; }
void KeepTitle(const char*) {}
void Swap() { SwapTarget(target); }

struct Cost {
    double cpuMs = 0, wallMs = 0;
    long faults = 0;
    int frames = 0;
};

double Milliseconds(const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; }

template <class Frame>
void Measure(Cost& cost, int frames, Frame frame) {
    rusage before, after;
    getrusage(RUSAGE_SELF, &before);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) frame();
    auto end = std::chrono::steady_clock::now();
    getrusage(RUSAGE_SELF, &after);
    cost.cpuMs += Milliseconds(after.ru_utime) + Milliseconds(after.ru_stime) - Milliseconds(before.ru_utime) -
                  Milliseconds(before.ru_stime);
    cost.wallMs += std::chrono::duration<double, std::milli>(end - start).count();
    cost.faults += after.ru_minflt + after.ru_majflt - before.ru_minflt - before.ru_majflt;
    cost.frames += frames;
}

// The model at the scene's spin and colour, from a buffer the GL holds.
void DrawHeld(const SceneState& scene, GLuint buffer) {
    glTranslatef(0.0f, 0.0f, -50.0f);
    glRotatef(scene.explosion.spinAngle, 0.0f, 1.0f, 0.0f);
    glColor3f(0.5f, 0.6f, 0.7f);
    glDisable(GL_TEXTURE_2D);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glInterleavedArrays(GL_N3F_V3F, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, scene.vertexCount);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glEnable(GL_TEXTURE_2D);
}

// RenderFrame with nothing to compute: its capture pass, copy and display
// pass over the held triangles.
void LeastFrame(const SceneState& scene, GLuint buffer) {
    int width = scene.screenWidth, height = scene.screenHeight;
    int captureWidth = std::min(kTrailSize, width), captureHeight = std::min(kTrailSize, height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    glViewport(0, 0, captureWidth, captureHeight);
    DrawTrailQuad(scene);
    DrawHeld(scene, buffer);
    glBindTexture(GL_TEXTURE_2D, scene.TrailTexture);
    if (captureWidth == kTrailSize && captureHeight == kTrailSize)
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 0, 0, kTrailSize, kTrailSize, 0);
    else
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, captureWidth, captureHeight);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    DrawTrailQuad(scene);
    glEnable(GL_LIGHTING);
    DrawHeld(scene, buffer);
    glFinish();
    Swap();
}

// Scale (the displacement is 1 / scale), spin and tumble in degrees.
struct Pose {
    float scale, spin, tumble;
};
const Pose kPoses[] = {{0.05f, 0, 0}, {0.1f, 40, 70}, {0.3f, 80, 140}, {1.0f, 120, 210}};
constexpr int kTurnFrames = 6;
constexpr double kLeastSeconds = 3.0;  // of our frames' wall time per model

void SetPose(SceneState& scene, const Pose& pose) {
    scene.explosion.scale = pose.scale;
    scene.explosion.spinAngle = pose.spin;
    scene.explosion.tumbleAngle = pose.tumble;
}

// Our frame and the least one, in turns at each pose; false when the
// display cannot be drawn on.
bool Compare(const std::string& path, int* triangles, Cost& ours, Cost& least) {
    HackOptions options;
    options.target = DrawTarget::Root;
    if (!OpenTarget(target, options)) {
        CloseTarget(target);
        return false;
    }
    width = target.width;
    height = target.height;
    renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    SceneState scene;
    FitView(scene, width, height);
    SetUpScene(scene, SceneHost{path.c_str(), Tick, Frozen, KeepTitle, Swap});
    KeepFrameMemory();
    *triangles = scene.vertexCount / 3;
    // Each pose's triangles as our frame transforms them, held by the GL.
    GLuint buffers[std::size(kPoses)];
    glGenBuffers(GLsizei(std::size(kPoses)), buffers);
    for (size_t i = 0; i < std::size(kPoses); ++i) {
        SetPose(scene, kPoses[i]);
        RenderFrame(scene);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[i]);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(6 * sizeof(float) * size_t(scene.vertexCount)),
                     scene.drawBuffer.get(), GL_STATIC_DRAW);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    for (int warm = 0; warm < 2; ++warm)
        for (size_t i = 0; i < std::size(kPoses); ++i) {
            SetPose(scene, kPoses[i]);
            RenderFrame(scene);
            LeastFrame(scene, buffers[i]);
        }
    while (ours.wallMs < kLeastSeconds * 1000)
        for (size_t i = 0; i < std::size(kPoses); ++i) {
            SetPose(scene, kPoses[i]);
            Measure(ours, kTurnFrames, [&] { RenderFrame(scene); });
            Measure(least, kTurnFrames, [&] { LeastFrame(scene, buffers[i]); });
        }
    glDeleteBuffers(GLsizei(std::size(kPoses)), buffers);
    ReleaseScene(scene);
    CloseTarget(target);
    return true;
}

}  // namespace

int main() {
    std::vector<BenchModel> models = BenchModels();
    bool ok = true;
    for (size_t i = 0; i < models.size(); ++i) {
        int triangles = 0;
        Cost ours, least;
        ok = Compare(models[i].path, &triangles, ours, least) && ok;
        std::remove(models[i].path.c_str());
        if (!ours.frames) continue;
        if (i == 0) {
            std::printf("the hack's frame against the least a frame of its picture costs, on the root window at "
                        "%d x %d,\nGLX on %s, in turns of %d frames at %zu poses; per frame:\n",
                        width, height, renderer.c_str(), kTurnFrames, std::size(kPoses));
            std::printf("%-12s %9s %7s %12s %12s %7s %10s %10s %12s %12s\n", "model", "triangles", "frames",
                        "ours CPU ms", "least CPU ms", "ratio", "ours ms", "least ms", "ours faults", "least faults");
        }
        auto per = [](double value, const Cost& cost) { return value / cost.frames; };
        std::printf("%-12s %9d %7d %12.2f %12.2f %7.2f %10.2f %10.2f %12.1f %12.1f\n", models[i].name, triangles,
                    ours.frames, per(ours.cpuMs, ours), per(least.cpuMs, least), per(ours.cpuMs, ours) / per(least.cpuMs, least),
                    per(ours.wallMs, ours), per(least.wallMs, least), per(double(ours.faults), ours),
                    per(double(least.faults), least));
    }
    return ok ? 0 : 1;
}
