// Small 3DS files for the tests, built with our writer.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "reader3ds.h"
#include "writer3ds.h"

using Bytes = std::vector<unsigned char>;

// A unit right triangle in the z = 0 plane (counter-clockwise from +z) and
// a second triangle sharing its edge 1-2, folded up out of the plane.
inline ObjectData TwoTriangles(uint32_t maskA = 1, uint32_t maskB = 1) {
    ObjectData object;
    object.name = "Pair";
    object.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1};
    object.faces = {0, 1, 2, 1, 3, 2};
    object.smoothing = {maskA, maskB};
    return object;
}

// Writes the main chunk around body (editor chunk and all).
inline Bytes MainChunk(const Bytes& body) {
    Writer3ds out;
    out.Begin(0x4D4D);
    out.Raw(body);
    out.End();
    return out.Bytes();
}

inline void PatchU32(Bytes& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

inline void PatchU16(Bytes& bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<unsigned char>(value);
    bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
}

struct Parsed {
    ModelScene scene;
    bool isModel = false;
};

inline Parsed ParseScene(const Bytes& bytes) {
    Parsed parsed;
    parsed.isModel = ParseScene3ds(bytes.data(), bytes.size(), parsed.scene);
    return parsed;
}

// Flat array of a file held in memory, as a vector (empty for no array).
inline std::vector<FlatVertex> Flatten(const Bytes& bytes, int* vertexCount = nullptr) {
    int count = -1;
    auto model = ParseModel3ds(bytes.data(), bytes.size(), count);
    if (vertexCount) *vertexCount = count;
    if (!model) return {};
    return std::vector<FlatVertex>(model.get(), model.get() + count);
}
