// Writes 3D Studio files chunk by chunk: our model and every test fixture
// come from here, so each byte of a fixture is explained by the code that
// wrote it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class Writer3ds {
public:
    // Opens a chunk; its length is filled in by the matching End.
    void Begin(uint16_t id);
    void End();
    void U16(uint16_t value);
    void U32(uint32_t value);
    void F32(float value);
    void Name(const std::string& name);  // the bytes and a zero byte
    void Raw(const std::vector<unsigned char>& bytes);
    const std::vector<unsigned char>& Bytes() const { return bytes_; }
    // File offset of the nth chunk begun with this id (for tests that
    // tamper with a chunk); the size of the bytes when there is none.
    size_t Offset(uint16_t id, int nth = 0) const;

private:
    std::vector<unsigned char> bytes_;
    std::vector<size_t> open_;
    std::vector<std::pair<uint16_t, size_t>> begun_;
};

// One named object holding one triangle mesh, as the file stores it.
// Every member has an initializer, so a brace list may leave out the last
// ones (they are empty).
struct ObjectData {
    std::string name;
    std::vector<float> positions{};     // x, y, z per vertex
    std::vector<float> mapping{};       // u, v per vertex as stored; empty for none
    std::vector<uint16_t> faces{};      // a, b, c per face
    std::vector<uint32_t> smoothing{};  // one mask per face; empty for no 0x4150
    std::string material{};             // face material group name; empty for none
};

// The object chunk 0x4000 with its mesh: vertex list, mapping list, local
// axes, face list with its material group and smoothing groups.
void WriteObject(Writer3ds& out, const ObjectData& object);

// A whole file in the layout modelling programs write: version, editor
// block with mesh version, one material and the objects, and a keyframer
// block that the reader skips.
void WriteModel3ds(Writer3ds& out, const std::vector<ObjectData>& objects);
std::vector<unsigned char> WriteModel3ds(const std::vector<ObjectData>& objects);
