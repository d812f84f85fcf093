// The models the drawing benchmarks draw, written to temporary files: our
// model and a smooth sphere of about 100,000 triangles.
#pragma once

#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "drake.h"
#include "file_bytes.h"
#include "writer3ds.h"

// A sphere of radius 10 in two meshes (each under 65,535 vertices), smooth.
inline std::vector<ObjectData> Sphere(int rings, int segments) {
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

inline std::string Save(const std::string& name, const std::vector<unsigned char>& bytes) {
    std::string path = "/tmp/ondrake-bench-" + std::to_string(getpid()) + "-" + name;
    WriteFileBytes(path, bytes);
    return path;
}

struct BenchModel {
    const char* name;
    std::string path;  // the caller removes it
};

inline std::vector<BenchModel> BenchModels() {
    return {{"Ondrake.3ds", Save("drake.3ds", WriteModel3ds(MakeDrake()))},
            {"sphere", Save("sphere.3ds", WriteModel3ds(Sphere(224, 224)))}};
}
