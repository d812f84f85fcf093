// Drawing benchmark: frames per second of the saver's RenderFrame at
// 1024 x 768 on Mesa's software rasterizer, immediate mode (the reference)
// against vertex arrays (the fast path), for our model and for a generated
// model of about 100,000 triangles.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "drake.h"
#include "headless_render.h"
#include "writer3ds.h"

namespace {

// A sphere of radius 10 in two meshes (each under 65,535 vertices), smooth.
std::vector<ObjectData> Sphere(int rings, int segments) {
    std::vector<ObjectData> halves;
    for (int half = 0; half < 2; ++half) {
        ObjectData mesh;
        mesh.name = half ? "South" : "North";
        int rows = rings / 2;
        for (int i = 0; i <= rows; ++i) {
            double theta = 3.14159265358979 * (half * rows + i) / rings;
            for (int j = 0; j <= segments; ++j) {
                double phi = 2 * 3.14159265358979 * j / segments;
                mesh.positions.insert(mesh.positions.end(),
                                      {float(10 * std::sin(theta) * std::cos(phi)), float(10 * std::cos(theta)),
                                       float(10 * std::sin(theta) * std::sin(phi))});
            }
        }
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < segments; ++j) {
                uint16_t a = uint16_t(i * (segments + 1) + j), b = uint16_t(a + segments + 1);
                mesh.faces.insert(mesh.faces.end(), {a, uint16_t(a + 1), uint16_t(b + 1), a, uint16_t(b + 1), b});
                mesh.smoothing.insert(mesh.smoothing.end(), {1, 1});
            }
        halves.push_back(mesh);
    }
    return halves;
}

double FramesPerSecond(const std::string& path, DrawPath drawPath, int* triangles) {
    HeadlessView view;
    HeadlessClock clock;
    SceneState scene;
    scene.path = drawPath;
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

std::string Save(const std::string& name, const std::vector<unsigned char>& bytes) {
    std::string path = "/tmp/ondrake-bench-" + std::to_string(getpid()) + "-" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

}  // namespace

int main() {
    struct Model {
        const char* name;
        std::string path;
    };
    Model models[] = {{"Ondrake.3ds", Save("drake.3ds", WriteModel3ds(MakeDrake()))},
                      {"sphere", Save("sphere.3ds", WriteModel3ds(Sphere(224, 224)))}};
    std::printf("RenderFrame at 1024 x 768, Mesa OSMesa, at least 3 s each\n");
    std::printf("%-12s %10s %14s %14s %8s\n", "model", "triangles", "immediate fps", "arrays fps", "speedup");
    for (const Model& model : models) {
        int triangles = 0;
        double reference = FramesPerSecond(model.path, DrawPath::Immediate, &triangles);
        double fast = FramesPerSecond(model.path, DrawPath::Arrays, &triangles);
        std::printf("%-12s %10d %14.1f %14.1f %7.2fx\n", model.name, triangles, reference, fast, fast / reference);
        std::remove(model.path.c_str());
    }
    return 0;
}
