// Drawing benchmark: frames per second of the saver's RenderFrame at
// 1024 x 768 (or --size WxH) on Mesa's software rasterizer, immediate mode
// (the reference) against vertex arrays (the fast path), for our model and
// for a generated model of about 100,000 triangles.
#include <chrono>
#include <cstdio>
#include <string>

#include "bench_models.h"
#include "headless_render.h"

namespace {

double FramesPerSecond(const std::string& path, DrawPath drawPath, int width, int height, int* triangles) {
    HeadlessView view(width, height);
    HeadlessClock clock;
    SceneState scene;
    scene.path = drawPath;
    scene.screenWidth = width;
    scene.screenHeight = height;
    SetUpScene(scene, HeadlessHost(path.c_str(), clock));
    *triangles = scene.vertexCount / 3;
    for (int i = 0; i < 5; ++i) RenderFrame(scene);
    int frames = 0;
    auto start = std::chrono::steady_clock::now();
    double seconds = 0;
    while (frames < 20 || seconds < 3.0) {
        RenderFrame(scene);
        ++frames;
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ReleaseScene(scene);
    return frames / seconds;
}

}  // namespace

int main(int argc, char** argv) {
    int width = 1024, height = 768;
    bool sized = argc == 3 && std::string(argv[1]) == "--size" &&
                 std::sscanf(argv[2], "%dx%d", &width, &height) == 2 && width > 0 && height > 0;
    if (argc != 1 && !sized) {
        std::fprintf(stderr, "usage: bench_draw [--size WxH]\n");
        return 2;
    }
    std::vector<BenchModel> models = BenchModels();
    std::printf("RenderFrame at %d x %d, Mesa OSMesa, at least 3 s each\n", width, height);
    std::printf("%-12s %10s %14s %14s %8s\n", "model", "triangles", "immediate fps", "arrays fps", "speedup");
    for (const BenchModel& model : models) {
        int triangles = 0;
        double reference = FramesPerSecond(model.path, DrawPath::Immediate, width, height, &triangles);
        double fast = FramesPerSecond(model.path, DrawPath::Arrays, width, height, &triangles);
        std::printf("%-12s %10d %14.1f %14.1f %7.2fx\n", model.name, triangles, reference, fast, fast / reference);
        std::remove(model.path.c_str());
    }
    return 0;
}
