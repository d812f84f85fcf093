#include "mesh.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <new>

void Vec3Add(const float a[3], const float b[3], float out[3]) {
    out[0] = a[0] + b[0];
    out[1] = a[1] + b[1];
    out[2] = a[2] + b[2];
}

void Vec3Sub(const float a[3], const float b[3], float out[3]) {
    out[0] = a[0] - b[0];
    out[1] = a[1] - b[1];
    out[2] = a[2] - b[2];
}

void Vec3Cross(const float a[3], const float b[3], float out[3]) {
    float x = a[1] * b[2] - a[2] * b[1];
    float y = a[2] * b[0] - a[0] * b[2];
    float z = a[0] * b[1] - a[1] * b[0];
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

float Vec3Normalize(const float v[3], float out[3]) {
    float length = static_cast<float>(std::sqrt(static_cast<double>(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])));
    if (length == 0.0f) {
        out[0] = out[1] = out[2] = 0.0f;
        return 0.0f;
    }
    float inverse = static_cast<float>(1.0 / static_cast<double>(length));
    out[0] = v[0] * inverse;
    out[1] = v[1] * inverse;
    out[2] = v[2] * inverse;
    return length;
}

void ComputeFaceNormal(const float p0[3], const float p1[3], const float p2[3], float normal[3]) {
    float a[3], b[3], n[3];
    Vec3Sub(p0, p1, a);
    Vec3Sub(p1, p2, b);
    Vec3Cross(a, b, n);
    float length = static_cast<float>(std::sqrt(static_cast<double>(n[0] * n[0] + n[1] * n[1] + n[2] * n[2])));
    if (length == 0.0f) length = 1.0f;
    normal[0] = n[0] / length;
    normal[1] = n[1] / length;
    normal[2] = n[2] / length;
}

namespace {

// The corners of face f, read from its record; false when one of them names
// a vertex past the vertex list.
bool WholeFace(const MeshRecord& mesh, int f, int corner[3]) {
    for (int k = 0; k < 3; ++k) corner[k] = mesh.faces[3 * size_t(f) + k];
    return corner[0] < mesh.vertexCount && corner[1] < mesh.vertexCount && corner[2] < mesh.vertexCount;
}

// Working arrays of the smoothing pass, kept from mesh to mesh: a mesh has
// at most 65,535 faces and vertices, so they stay small however large the
// model, and their memory is touched once for the whole scene.
struct SmoothingWork {
    // The faces that name existing vertices, with their masks (0 where the
    // mesh's smoothing list has none): a, b, c per face.
    std::vector<int> faces;
    std::vector<uint32_t> masks;
    std::vector<float> faceNormals;  // 3 per face
    // The per-vertex face lists live in one array: vertex v's entries are
    // lists[listStart[v]] .. lists[listStart[v + 1] - 1]. useCount[v] is the
    // list's length and, while filling, the next slot to fill from the end.
    std::vector<int> useCount, listStart, lists;
};

// Copies the faces that name existing vertices, and their masks, into the
// working arrays; returns how many there are.
int KeepWholeFaces(const MeshRecord& mesh, SmoothingWork& work) {
    const int F = mesh.faceCount;
    work.faces.resize(3 * size_t(F));
    work.masks.resize(size_t(F));
    int kept = 0;
    for (int f = 0; f < F; ++f) {
        if (!WholeFace(mesh, f, &work.faces[3 * size_t(kept)])) continue;
        work.masks[kept] = mesh.smoothingGroups[f];
        ++kept;
    }
    return kept;
}

// Writes the 3 corners (position, smoothed normal, texture coordinate) of
// each face that names existing vertices to out; returns how many faces.
int SmoothInto(const MeshRecord& mesh, SmoothingWork& work, FlatVertex* out) {
    const int F = KeepWholeFaces(mesh, work);
    const int V = mesh.vertexCount;
    const PositionList& P = mesh.vertices;
    const int* faces = work.faces.data();
    const uint32_t* S = work.masks.data();

    work.faceNormals.resize(3 * size_t(F));
    work.useCount.assign(size_t(V), 0);
    work.listStart.assign(size_t(V) + 1, 0);
    work.lists.resize(3 * size_t(F));
    float* faceNormals = work.faceNormals.data();
    int* useCount = work.useCount.data();
    int* listStart = work.listStart.data();
    int* lists = work.lists.data();

    for (int f = 0; f < F; ++f) {
        const int* c = &faces[3 * f];
        ++useCount[c[0]];
        ++useCount[c[1]];
        ++useCount[c[2]];
        float p[3][3];
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < 3; ++i) p[k][i] = P[3 * size_t(c[k]) + i];
        float ab[3], ac[3], n[3];
        Vec3Sub(p[1], p[0], ab);
        Vec3Sub(p[2], p[0], ac);
        Vec3Cross(ab, ac, n);
        Vec3Normalize(n, &faceNormals[3 * f]);
    }
    for (int v = 0; v < V; ++v) listStart[v + 1] = listStart[v] + useCount[v];
    // Filling from the ends leaves each list in descending face order; the
    // summation order below, and so the normals' last bits, depend on it.
    for (int f = 0; f < F; ++f) {
        for (int k = 0; k < 3; ++k) {
            int v = faces[3 * f + k];
            lists[listStart[v] + --useCount[v]] = f;
        }
    }
    for (int j = 0; j < 3 * F; ++j, ++out) {
        const int f = j / 3, v = faces[j];
        float sum[3] = {0, 0, 0};
        for (int i = listStart[v]; i < listStart[v + 1]; ++i) {
            int g = lists[i];
            if (g == f || (S[f] & S[g]) != 0) Vec3Add(sum, &faceNormals[3 * g], sum);
        }
        Vec3Normalize(sum, out->normal);
        out->position[0] = P[3 * size_t(v)];
        out->position[1] = P[3 * size_t(v) + 1];
        out->position[2] = P[3 * size_t(v) + 2];
        // A mapping list shorter than the vertex list leaves (0, 0).
        bool mapped = v < mesh.texCoordCount;
        out->texCoord[0] = mapped ? mesh.texCoords[2 * size_t(v)] : 0.0f;
        out->texCoord[1] = mapped ? mesh.texCoords[2 * size_t(v) + 1] : 0.0f;
    }
    return F;
}

// The first byte of the file that the mesh reads; null for a mesh without
// lists.
const unsigned char* FirstByte(const MeshRecord& mesh) {
    const unsigned char* first = nullptr;
    for (const unsigned char* list :
         {mesh.vertices.bytes, mesh.texCoords.bytes, mesh.faces.bytes, mesh.smoothingGroups.bytes})
        if (list && (!first || list < first)) first = list;
    return first;
}

}  // namespace

int CountBrokenFaces(const MeshRecord& mesh) {
    int broken = 0, corner[3];
    for (int f = 0; f < mesh.faceCount; ++f)
        if (!WholeFace(mesh, f, corner)) ++broken;
    return broken;
}

std::unique_ptr<FlatVertex[]> FlattenScene(ModelScene& scene, int& vertexCount) {
    // Faces that name missing vertices are left out, and take no room: a
    // file of such faces must not cost the memory of as many triangles.
    int64_t faces = 0;
    for (const MeshRecord& mesh : scene.meshes) faces += mesh.faceCount - CountBrokenFaces(mesh);
    std::unique_ptr<FlatVertex[]> flat;
    if (faces * 3 <= INT32_MAX && uint64_t(faces) * 3 <= SIZE_MAX / sizeof(FlatVertex))
        flat.reset(new (std::nothrow) FlatVertex[size_t(faces) * 3]);
    if (!flat) {
        std::fprintf(stderr, "out of memory for %lld triangles\n", static_cast<long long>(faces));
        faces = 0;
        flat.reset(new FlatVertex[0]);
    }
    FlatVertex* out = flat.get();
    SmoothingWork work;
    for (const MeshRecord& mesh : scene.meshes) {
        if (faces == 0) break;
        if (mesh.faceCount == 0) continue;
        // The meshes lie in file order, so the pages before this one's
        // lists have been read for the last time.
        ReleaseMappedBefore(scene.source, FirstByte(mesh));
        out += 3 * SmoothInto(mesh, work, out);
    }
    scene.meshes.clear();
    scene.meshes.shrink_to_fit();
    scene.source = MappedFile();
    vertexCount = static_cast<int>(out - flat.get());
    return flat;
}
