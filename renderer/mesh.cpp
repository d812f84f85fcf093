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

int DropBrokenFaces(MeshRecord& mesh) {
    if (!mesh.faces) return 0;
    int kept = 0;
    for (int f = 0; f < mesh.faceCount; ++f) {
        const int* corner = &mesh.faces[3 * f];
        if (corner[0] >= mesh.vertexCount || corner[1] >= mesh.vertexCount || corner[2] >= mesh.vertexCount)
            continue;
        for (int k = 0; k < 3; ++k) mesh.faces[3 * kept + k] = corner[k];
        if (mesh.smoothingGroups) mesh.smoothingGroups[kept] = mesh.smoothingGroups[f];
        ++kept;
    }
    int dropped = mesh.faceCount - kept;
    mesh.faceCount = kept;
    return dropped;
}

namespace {

// Working arrays of the smoothing pass, kept from mesh to mesh so that a
// scene of many meshes allocates them once.
struct SmoothingWork {
    std::vector<float> faceNormals;  // 3 per face
    // The per-vertex face lists live in one array: vertex v's entries are
    // lists[listStart[v]] .. lists[listStart[v + 1] - 1]. useCount[v] is the
    // list's length and, while filling, the next slot to fill from the end.
    std::vector<int> useCount, listStart, lists;
};

// Writes the mesh's 3F corners (position, smoothed normal, texture
// coordinate) to out. The faces must name existing vertices.
void SmoothInto(const MeshRecord& mesh, SmoothingWork& work, FlatVertex* out) {
    const int F = mesh.faces ? mesh.faceCount : 0;
    const int V = mesh.vertexCount;
    const float* P = mesh.vertices.get();
    const int* faces = mesh.faces.get();
    const uint32_t* S = mesh.smoothingGroups.get();

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
        float ab[3], ac[3], n[3];
        Vec3Sub(&P[3 * c[1]], &P[3 * c[0]], ab);
        Vec3Sub(&P[3 * c[2]], &P[3 * c[0]], ac);
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
            if (g == f || (S && (S[f] & S[g]) != 0)) Vec3Add(sum, &faceNormals[3 * g], sum);
        }
        Vec3Normalize(sum, out->normal);
        out->position[0] = P[3 * v];
        out->position[1] = P[3 * v + 1];
        out->position[2] = P[3 * v + 2];
        // A mapping list shorter than the vertex list leaves (0, 0).
        bool mapped = v < mesh.texCoordCount;
        out->texCoord[0] = mapped ? mesh.texCoords[2 * v] : 0.0f;
        out->texCoord[1] = mapped ? mesh.texCoords[2 * v + 1] : 0.0f;
    }
}

}  // namespace

void SmoothMeshNormals(MeshRecord& mesh) {
    DropBrokenFaces(mesh);
    const int corners = mesh.faces ? 3 * mesh.faceCount : 0;
    std::vector<FlatVertex> flat(static_cast<size_t>(corners));
    SmoothingWork work;
    SmoothInto(mesh, work, flat.data());

    std::unique_ptr<float[]> positions(new float[3 * size_t(corners)]);
    std::unique_ptr<float[]> normals(new float[3 * size_t(corners)]);
    std::unique_ptr<float[]> texCoords(new float[2 * size_t(corners)]);
    for (int j = 0; j < corners; ++j) {
        for (int i = 0; i < 3; ++i) positions[3 * size_t(j) + i] = flat[j].position[i];
        for (int i = 0; i < 3; ++i) normals[3 * size_t(j) + i] = flat[j].normal[i];
        for (int i = 0; i < 2; ++i) texCoords[2 * size_t(j) + i] = flat[j].texCoord[i];
    }
    mesh.vertices = std::move(positions);
    mesh.vertexCount = corners;
    mesh.texCoords = std::move(texCoords);
    mesh.texCoordCount = corners;
    mesh.normals = std::move(normals);
    mesh.faces.reset();
}

std::unique_ptr<FlatVertex[]> FlattenScene(ModelScene& scene, int& vertexCount) {
    // Face counts are final once broken faces are gone, so the flat array can
    // be made first and each mesh smoothed straight into it and freed.
    int64_t triangles = 0;
    for (MeshRecord& mesh : scene.meshes) {
        DropBrokenFaces(mesh);
        if (mesh.faces) triangles += mesh.faceCount;
    }
    std::unique_ptr<FlatVertex[]> flat;
    if (triangles * 3 <= INT32_MAX && uint64_t(triangles) * 3 <= SIZE_MAX / sizeof(FlatVertex))
        flat.reset(new (std::nothrow) FlatVertex[size_t(triangles) * 3]);
    if (!flat) {
        std::fprintf(stderr, "out of memory for %lld triangles\n", static_cast<long long>(triangles));
        triangles = 0;
        flat.reset(new FlatVertex[0]);
    }
    FlatVertex* out = flat.get();
    SmoothingWork work;
    for (MeshRecord& mesh : scene.meshes) {
        if (triangles > 0 && mesh.faces) {
            SmoothInto(mesh, work, out);
            out += 3 * mesh.faceCount;
        }
        mesh = MeshRecord();
    }
    scene.meshes.clear();
    scene.meshes.shrink_to_fit();
    vertexCount = static_cast<int>(triangles * 3);
    return flat;
}
