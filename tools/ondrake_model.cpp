// ondrake-model: checks a 3DS file the way the saver reads it, and writes
// our own model.
#include <cstdio>
#include <cstring>

#include "../renderer/reader3ds.h"
#include "drake.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: ondrake-model info FILE\n"
                 "       ondrake-model make OUT\n");
    return 2;
}

int Info(const char* path) {
    ModelScene scene;
    if (!LoadScene3ds(path, scene)) return 1;
    size_t meshes = scene.meshes.size();
    int vertexCount = 0;
    auto model = FlattenScene(scene, vertexCount);
    std::printf("meshes: %zu\ntriangles: %d\n", meshes, vertexCount / 3);
    if (vertexCount == 0) {
        std::printf("bounds: none\n");
        return 0;
    }
    float low[3], high[3];
    for (int i = 0; i < 3; ++i) low[i] = high[i] = model[0].position[i];
    for (int v = 1; v < vertexCount; ++v) {
        for (int i = 0; i < 3; ++i) {
            float p = model[v].position[i];
            if (p < low[i]) low[i] = p;
            if (p > high[i]) high[i] = p;
        }
    }
    std::printf("bounds: %.9g %.9g %.9g %.9g %.9g %.9g\n", low[0], low[1], low[2], high[0], high[1], high[2]);
    return 0;
}

int Make(const char* path) {
    std::vector<unsigned char> bytes = WriteModel3ds(MakeDrake());
    std::FILE* f = std::fopen(path, "wb");
    bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0) written = false;
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "info") == 0) return Info(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "make") == 0) return Make(argv[2]);
    return Usage();
}
