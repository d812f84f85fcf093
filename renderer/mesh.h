// Mesh preparation: indexed 3DS meshes become one flat array of
// independent triangles with smoothed vertex normals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "mapped_file.h"

// One vertex of the flat triangle array: 8 single-precision floats.
struct FlatVertex {
    float position[3];
    float normal[3];    // unit length, or all zero
    float texCoord[2];  // v already flipped by the reader
};
static_assert(sizeof(FlatVertex) == 32, "FlatVertex is 8 floats");

// Little-endian values at any alignment in the model file's bytes.
inline uint16_t LoadU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t LoadU32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline float LoadF32(const unsigned char* p) {
    uint32_t bits = LoadU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A mesh's lists are not copied out of the file: each is read in place,
// from the first record on, and indexes like the array it stands for. A
// null list is one the mesh does not have.

// x, y, z per vertex (12-byte records).
struct PositionList {
    const unsigned char* bytes = nullptr;
    float operator[](size_t i) const { return LoadF32(bytes + 4 * i); }
};

// u, 1 - v per entry (8-byte records of u and v as stored).
struct MappingList {
    const unsigned char* bytes = nullptr;
    float operator[](size_t i) const {
        float value = LoadF32(bytes + 4 * i);
        return i % 2 ? static_cast<float>(1.0 - static_cast<double>(value)) : value;
    }
};

// a, b, c per face (8-byte records: three indices and a flags word).
struct FaceList {
    const unsigned char* bytes = nullptr;
    int operator[](size_t i) const { return LoadU16(bytes + 8 * (i / 3) + 2 * (i % 3)); }
};

// One mask per face of the face list; faces past the masks the chunk holds
// read 0 (flat).
struct MaskList {
    const unsigned char* bytes = nullptr;
    int count = 0;
    uint32_t operator[](size_t f) const { return f < size_t(count) ? LoadU32(bytes + 4 * f) : 0; }
    explicit operator bool() const { return bytes != nullptr; }
};

// One triangle mesh (one 0x4100 chunk) as the reader finds it. Face indices
// are as stored: some may name vertices past the vertex list.
struct MeshRecord {
    PositionList vertices;
    int vertexCount = 0;
    MappingList texCoords;
    int texCoordCount = 0;
    FaceList faces;
    MaskList smoothingGroups;
    int faceCount = 0;
};

// Every mesh of the file, across all objects, in file order, and the mapped
// file their lists lie in (empty when the bytes belong to the caller).
struct ModelScene {
    std::vector<MeshRecord> meshes;
    MappedFile source;
};

// out = a + b, a - b, a x b. Add and Sub allow out to alias a or b.
void Vec3Add(const float a[3], const float b[3], float out[3]);
void Vec3Sub(const float a[3], const float b[3], float out[3]);
void Vec3Cross(const float a[3], const float b[3], float out[3]);
// out = v scaled to unit length; returns the length, 0 (and out zero) for a
// zero vector. out may alias v.
float Vec3Normalize(const float v[3], float out[3]);

// Unit normal of the triangle p0, p1, p2, counter-clockwise front; zero for a
// degenerate triangle.
void ComputeFaceNormal(const float p0[3], const float p1[3], const float p2[3], float normal[3]);

// How many faces of the mesh name a vertex past its vertex list. Mesh
// preparation leaves them out; the reader reports them.
int CountBrokenFaces(const MeshRecord& mesh);

// Turns the scene into the flat triangle array and stores its vertex count
// (3 per triangle): per mesh in order, per face in order, one position,
// smoothed normal and texture coordinate per corner; faces that name a
// missing vertex are left out. The array is made once, at its final size,
// and each mesh is smoothed straight into it; the meshes and the mapped file
// are gone afterwards. Peak memory is the flat array, the working arrays of
// the largest mesh and the mapped pages of about one mesh.
std::unique_ptr<FlatVertex[]> FlattenScene(ModelScene& scene, int& vertexCount);
