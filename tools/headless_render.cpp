#include "headless_render.h"

#include <GL/osmesa.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>

#include "file_bytes.h"

#if defined(__SANITIZE_ADDRESS__)
// Mesa keeps a few hundred bytes of its own for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif

namespace {

// The host services are plain function pointers; they reach the one clock
// in use through these.
HeadlessClock* activeClock = nullptr;
int* activeTitleCount = nullptr;

uint32_t ClockTicks() { return activeClock->now; }
void ClockTitle(const char*) {
    if (activeTitleCount) ++*activeTitleCount;
}
void ClockSwap() { activeClock->now += activeClock->frameMs; }

void PutU32(std::vector<unsigned char>& out, uint32_t value) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutPngChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    PutU32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out, static_cast<uint32_t>(crc32(0, &out[start], static_cast<uInt>(out.size() - start))));
}

}  // namespace

HeadlessView::HeadlessView(int width, int height)
    : width_(width), height_(height), buffer_(size_t(4) * width * height) {
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (!context) return;
    if (!OSMesaMakeCurrent(context, buffer_.data(), GL_UNSIGNED_BYTE, width_, height_)) {
        OSMesaDestroyContext(context);
        return;
    }
    context_ = context;
    ResizeView(width_, height_);
}

HeadlessView::~HeadlessView() {
    if (!context_) return;
    OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    OSMesaDestroyContext(static_cast<OSMesaContext>(context_));
}

Picture HeadlessView::Read() const {
    glFinish();
    Picture picture;
    picture.width = width_;
    picture.height = height_;
    picture.rgba.resize(buffer_.size());
    // OSMesa's rows run from the bottom.
    for (int y = 0; y < height_; ++y)
        std::copy_n(&buffer_[size_t(4) * width_ * (height_ - 1 - y)], 4 * width_,
                    &picture.rgba[size_t(4) * width_ * y]);
    return picture;
}

SceneHost HeadlessHost(const char* modelPath, HeadlessClock& clock, int* titleCount) {
    activeClock = &clock;
    activeTitleCount = titleCount;
    return SceneHost{modelPath, ClockTicks, ClockTicks, ClockTitle, ClockSwap};
}

Picture RenderModel(const char* modelPath, int frames, DrawPath path) {
    HeadlessView view;
    if (!view.ok()) return {};
    HeadlessClock clock;
    SceneState scene;
    scene.path = path;
    SetUpScene(scene, HeadlessHost(modelPath, clock));
    for (int i = 0; i < frames; ++i) RenderFrame(scene);
    Picture picture = view.Read();
    ReleaseScene(scene);
    return picture;
}

Picture Resize(const Picture& picture, int width, int height) {
    Picture out;
    out.width = width;
    out.height = height;
    out.rgba.resize(size_t(4) * width * height);
    for (int y = 0; y < height; ++y) {
        int y0 = y * picture.height / height, y1 = std::max(y0 + 1, (y + 1) * picture.height / height);
        for (int x = 0; x < width; ++x) {
            int x0 = x * picture.width / width, x1 = std::max(x0 + 1, (x + 1) * picture.width / width);
            for (int c = 0; c < 4; ++c) {
                unsigned sum = 0;
                for (int sy = y0; sy < y1; ++sy)
                    for (int sx = x0; sx < x1; ++sx) sum += picture.Pixel(sx, sy)[c];
                unsigned count = unsigned((y1 - y0) * (x1 - x0));
                out.rgba[4 * (size_t(y) * width + x) + c] = static_cast<unsigned char>((sum + count / 2) / count);
            }
        }
    }
    return out;
}

bool WritePng(const std::string& path, const Picture& picture) {
    // Opaque RGB rows, each behind filter byte 0.
    std::vector<unsigned char> raw;
    raw.reserve(size_t(picture.height) * (1 + 3 * picture.width));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < picture.width; ++x) raw.insert(raw.end(), picture.Pixel(x, y), picture.Pixel(x, y) + 3);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return false;
    packed.resize(packedSize);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutU32(header, static_cast<uint32_t>(picture.width));
    PutU32(header, static_cast<uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    PutPngChunk(png, "IHDR", header);
    PutPngChunk(png, "IDAT", packed);
    PutPngChunk(png, "IEND", {});
    return WriteFileBytes(path, png);
}
