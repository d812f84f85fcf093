// Small 3DS files for the tests, built with our writer.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "drake.h"
#include "file_bytes.h"
#include "little_endian.h"
#include "reader3ds.h"
#include "test_folder.h"
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

// Writes bytes to path; the path, for tests that read a model from a file.
inline std::string WriteFile(const std::string& path, const Bytes& bytes) {
    WriteFileBytes(path, bytes);
    return path;
}

// Our model, written once to the test process's folder.
inline const std::string& DrakePath() {
    static const std::string path = WriteFile(TestFolder() + "drake.3ds", WriteModel3ds(MakeDrake()));
    return path;
}

// A file of just the objects, kept in its writer to find chunks by.
inline Writer3ds Objects(const std::vector<ObjectData>& objects) {
    Writer3ds out;
    out.Begin(0x4D4D);
    out.Begin(0x3D3D);
    for (const ObjectData& object : objects) WriteObject(out, object);
    out.End();
    out.End();
    return out;
}

// TwoTriangles under another name, moved along every axis by offset.
inline ObjectData Named(const char* name, float offset) {
    ObjectData object = TwoTriangles();
    object.name = name;
    for (float& p : object.positions) p += offset;
    return object;
}

// A file kept as hex text: bytes as hex pairs between blanks, and comment
// lines that start with '#'.
inline Bytes ReadHex(const std::string& path) {
    std::ifstream in(path);
    Bytes bytes;
    std::string token;
    while (in >> token) {
        if (token[0] == '#') {
            std::getline(in, token);
            continue;
        }
        bytes.push_back(static_cast<unsigned char>(std::stoul(token, nullptr, 16)));
    }
    return bytes;
}

// Writes the main chunk around body (editor chunk and all).
inline Bytes MainChunk(const Bytes& body) {
    Writer3ds out;
    out.Begin(0x4D4D);
    out.Raw(body);
    out.End();
    return out.Bytes();
}

// A scene with the bytes its lists point into.
struct Parsed {
    Bytes bytes;
    ModelScene scene;
    bool isModel = false;
};

inline Parsed ParseScene(const Bytes& bytes) {
    Parsed parsed;
    parsed.bytes = bytes;
    parsed.isModel = ParseScene3ds(parsed.bytes.data(), parsed.bytes.size(), parsed.scene);
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
