// Renders the saver's picture without a window, on Mesa's software
// rasterizer (OSMesa), at the saver's 1024 x 768 or another size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scene.h"

// An RGBA picture, rows from the top.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    const unsigned char* Pixel(int x, int y) const { return &rgba[4 * (size_t(y) * width + x)]; }
};

// A current OpenGL context rendering into memory, width x height pixels,
// with the saver's projection set; the scene is drawn by the caller.
class HeadlessView {
public:
    explicit HeadlessView(int width = 1024, int height = 768);
    ~HeadlessView();
    HeadlessView(const HeadlessView&) = delete;
    HeadlessView& operator=(const HeadlessView&) = delete;
    bool ok() const { return context_ != nullptr; }
    Picture Read() const;

private:
    int width_, height_;
    void* context_ = nullptr;
    std::vector<unsigned char> buffer_;
};

// A simulated clock for the scene's host: each RenderFrame moves it on by
// one frame.
struct HeadlessClock {
    uint32_t now = 1000;   // milliseconds
    uint32_t frameMs = 16;
};

// The scene's host services bound to a clock; titles are counted.
SceneHost HeadlessHost(const char* modelPath, HeadlessClock& clock, int* titleCount = nullptr);

// The picture the saver shows after frames frames of a 60 per second clock.
Picture RenderModel(const char* modelPath, int frames, DrawPath path = DrawPath::Arrays);

// Box-filters a picture down (or nearest-samples it up) to width x height.
Picture Resize(const Picture& picture, int width, int height);

bool WritePng(const std::string& path, const Picture& picture);
