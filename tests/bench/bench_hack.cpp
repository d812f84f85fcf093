// Drawing benchmark of the xscreensaver hack: frames per second of the
// scene drawn with GLX on the root window of the display in DISPLAY, as the
// hack draws under -root, with Mesa's software rasterizer, for our model and
// for a generated model of about 100,000 triangles. bench_hack.sh runs it on
// an Xvfb of 1920 x 1080 beside bench_draw at the same size.
#include <chrono>
#include <cstdio>

#include "bench_models.h"
#include "clock.h"
#include "scene.h"
#include "x11_target.h"

namespace {

X11Target target;
bool showFrames = true;
int width = 0, height = 0;  // the root window's, pixels

void KeepTitle(const char*) {}
// Not showing the frames tells the cost of drawing from the cost of
// putting each picture on the screen.
void Swap() {
    if (showFrames) SwapTarget(target);
}

// Frames per second over at least 3 s and 20 frames, after 5 to warm up;
// negative when the display cannot be drawn on.
double FramesPerSecond(const std::string& path, int* triangles) {
    HackOptions options;
    options.target = DrawTarget::Root;
    if (!OpenTarget(target, options)) {
        CloseTarget(target);
        return -1;
    }
    width = target.width;
    height = target.height;
    SceneState scene;
    FitView(scene, width, height);
    SetUpScene(scene, SceneHost{path.c_str(), MonotonicMilliseconds, MonotonicMilliseconds, KeepTitle, Swap});
    *triangles = scene.vertexCount / 3;
    for (int i = 0; i < 5; ++i) RenderFrame(scene);
    int frames = 0;
    auto start = std::chrono::steady_clock::now();
    double seconds = 0;
    while (frames < 20 || seconds < 3.0) {
        if (PumpEvents(target) == TargetNews::End) break;
        RenderFrame(scene);
        ++frames;
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ReleaseScene(scene);
    CloseTarget(target);
    return frames / seconds;
}

}  // namespace

int main() {
    std::vector<BenchModel> models = BenchModels();
    bool ok = true;
    for (size_t i = 0; i < models.size(); ++i) {
        int triangles = 0;
        showFrames = true;
        double fps = FramesPerSecond(models[i].path, &triangles);
        showFrames = false;
        double drawnOnly = FramesPerSecond(models[i].path, &triangles);
        if (i == 0) {
            std::printf("the hack's frame on the root window at %d x %d, GLX, at least 3 s each\n", width, height);
            std::printf("%-12s %10s %14s %16s\n", "model", "triangles", "hack fps", "drawn, not shown");
        }
        if (fps < 0 || drawnOnly < 0) ok = false;
        std::printf("%-12s %10d %14.1f %16.1f\n", models[i].name, triangles, fps, drawnOnly);
        std::remove(models[i].path.c_str());
    }
    return ok ? 0 : 1;
}
