// ondrake-model: checks a 3DS file the way the saver reads it, and writes
// our own model.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../renderer/reader3ds.h"
#include "drake.h"
#include "file_bytes.h"
#ifdef ONDRAKE_RENDER
#include "headless_render.h"
#include "picture_jpeg.h"
#endif

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: ondrake-model info FILE\n"
                 "       ondrake-model make OUT\n"
#ifdef ONDRAKE_RENDER
                 "       ondrake-model render FILE OUT.png|OUT.jpg [--frames N] [--size WxH]\n"
#endif
                 );
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
    if (!WriteFileBytes(path, WriteModel3ds(MakeDrake()))) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    return 0;
}

#ifdef ONDRAKE_RENDER
// JPEG at quality 90: at the preview's 152 x 112, lower qualities smear the
// model's colour into the grey trail beside it.
constexpr int kJpegQuality = 90;

bool EndsWith(const char* text, const char* end) {
    size_t length = std::strlen(text), endLength = std::strlen(end);
    return length >= endLength && std::strcmp(text + length - endLength, end) == 0;
}

// The picture the saver shows after N frames (default 120, two seconds at
// 60 frames a second), scaled to the size asked for; a JPEG when the output
// name ends in .jpg, else a PNG.
int Render(int argc, char** argv) {
    int frames = 120, width = 1024, height = 768;
    for (int i = 4; i < argc; i += 2) {
        if (i + 1 >= argc) return Usage();
        char* end = nullptr;
        if (std::strcmp(argv[i], "--frames") == 0) {
            frames = int(std::strtol(argv[i + 1], &end, 10));
            if (*end || frames < 1) return Usage();
        } else if (std::strcmp(argv[i], "--size") == 0) {
            if (std::sscanf(argv[i + 1], "%dx%d", &width, &height) != 2 || width < 1 || height < 1 ||
                width > 8192 || height > 8192)
                return Usage();
        } else {
            return Usage();
        }
    }
    Picture picture = RenderModel(argv[2], frames);
    if (picture.rgba.empty()) {
        std::fprintf(stderr, "no OpenGL context for rendering\n");
        return 1;
    }
    if (width != picture.width || height != picture.height) picture = Resize(picture, width, height);
    bool written = EndsWith(argv[3], ".jpg") ? WriteJpeg(argv[3], picture, kJpegQuality) : WritePng(argv[3], picture);
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "info") == 0) return Info(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "make") == 0) return Make(argv[2]);
#ifdef ONDRAKE_RENDER
    if (argc >= 4 && std::strcmp(argv[1], "render") == 0) return Render(argc, argv);
#endif
    return Usage();
}
