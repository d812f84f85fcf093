// Mesh preparation: indexed 3DS meshes become one flat array of
// independent triangles with smoothed vertex normals.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// One vertex of the flat triangle array: 8 single-precision floats.
struct FlatVertex {
    float position[3];
    float normal[3];    // unit length, or all zero
    float texCoord[2];  // v already flipped by the reader
};
static_assert(sizeof(FlatVertex) == 32, "FlatVertex is 8 floats");

// One triangle mesh (one 0x4100 chunk) as the reader fills it. After
// SmoothMeshNormals the arrays hold one entry per face corner instead.
struct MeshRecord {
    std::unique_ptr<float[]> vertices;          // x, y, z per vertex
    int vertexCount = 0;
    std::unique_ptr<float[]> texCoords;         // u, 1 - v per entry
    int texCoordCount = 0;
    std::unique_ptr<int[]> faces;               // a, b, c per face
    std::unique_ptr<uint32_t[]> smoothingGroups;  // one mask per face, or null
    std::unique_ptr<float[]> normals;           // x, y, z per face corner
    int faceCount = 0;
};

// Every mesh of the file, across all objects, in file order.
struct ModelScene {
    std::vector<MeshRecord> meshes;
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

// Removes faces that name a vertex past the mesh's vertex list (with their
// smoothing masks), so nothing downstream reads outside the arrays. Returns
// how many were removed; the reader has already reported them.
int DropBrokenFaces(MeshRecord& mesh);

// Rewrites the mesh with one position, texture coordinate and smoothed
// normal per face corner; frees the face list.
void SmoothMeshNormals(MeshRecord& mesh);

// Turns the scene into the flat triangle array, freeing every mesh array on
// the way, and stores its vertex count (3 per triangle). Peak memory is the
// flat array plus one mesh being smoothed.
std::unique_ptr<FlatVertex[]> FlattenScene(ModelScene& scene, int& vertexCount);
