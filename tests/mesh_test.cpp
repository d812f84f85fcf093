// Mesh preparation: vector helpers, face normals, smoothing groups.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "fixtures.h"

namespace {

bool SameBits(const float a[3], const float b[3]) { return std::memcmp(a, b, 3 * sizeof(float)) == 0; }

// A mesh straight from data, as the reader would leave it.
MeshRecord Mesh(const std::vector<float>& positions, const std::vector<int>& faces,
                const std::vector<uint32_t>& masks = {}) {
    MeshRecord mesh;
    mesh.vertexCount = int(positions.size() / 3);
    mesh.vertices.reset(new float[positions.size()]);
    std::copy(positions.begin(), positions.end(), mesh.vertices.get());
    mesh.faceCount = int(faces.size() / 3);
    mesh.faces.reset(new int[faces.size()]);
    std::copy(faces.begin(), faces.end(), mesh.faces.get());
    if (!masks.empty()) {
        mesh.smoothingGroups.reset(new uint32_t[masks.size()]);
        std::copy(masks.begin(), masks.end(), mesh.smoothingGroups.get());
    }
    return mesh;
}

// Face normal as smoothing computes it: normalised (b - a) x (c - a).
void SmoothingFaceNormal(const std::vector<float>& p, int a, int b, int c, float out[3]) {
    float ab[3], ac[3], n[3];
    Vec3Sub(&p[3 * b], &p[3 * a], ab);
    Vec3Sub(&p[3 * c], &p[3 * a], ac);
    Vec3Cross(ab, ac, n);
    Vec3Normalize(n, out);
}

void Normal(const MeshRecord& mesh, int corner, float out[3]) {
    for (int i = 0; i < 3; ++i) out[i] = mesh.normals[3 * corner + i];
}

TEST(Vectors, OperationsAndAliasing) {
    float a[3] = {1, 2, 3}, b[3] = {4, 5, 6}, out[3];
    Vec3Cross(a, b, out);
    EXPECT_EQ(out[0], -3.0f);
    EXPECT_EQ(out[1], 6.0f);
    EXPECT_EQ(out[2], -3.0f);
    Vec3Add(a, b, a);
    EXPECT_EQ(a[2], 9.0f);
    Vec3Sub(a, b, b);
    EXPECT_EQ(b[0], 1.0f);
    EXPECT_EQ(b[2], 3.0f);

    float zero[3] = {0, 0, 0}, unit[3] = {9, 9, 9};
    EXPECT_EQ(Vec3Normalize(zero, unit), 0.0f);
    EXPECT_EQ(unit[0], 0.0f);
    float v[3] = {3, 0, 4};
    EXPECT_EQ(Vec3Normalize(v, v), 5.0f);
    EXPECT_EQ(v[0], 0.6f);
    EXPECT_EQ(v[2], 0.8f);
}

TEST(Vectors, NormalizeMultipliesByADoubleReciprocal) {
    // 1/3 rounded to float and then multiplied is not the same bits as a
    // division by 3 for every component; the rule is the multiplication.
    float v[3] = {1, 1, 1}, out[3];
    float length = Vec3Normalize(v, out);
    EXPECT_EQ(length, static_cast<float>(std::sqrt(3.0)));
    float inverse = static_cast<float>(1.0 / double(length));
    EXPECT_EQ(out[0], 1.0f * inverse);
}

TEST(FaceNormal, FollowsTheWindingAndIsZeroWhenDegenerate) {
    const float p0[3] = {0, 0, 0}, p1[3] = {1, 0, 0}, p2[3] = {0, 1, 0};
    float n[3];
    ComputeFaceNormal(p0, p1, p2, n);
    EXPECT_EQ(n[0], 0.0f);
    EXPECT_EQ(n[1], 0.0f);
    EXPECT_EQ(n[2], 1.0f);
    ComputeFaceNormal(p0, p2, p1, n);
    EXPECT_EQ(n[2], -1.0f);
    const float q[3] = {2, 0, 0};
    ComputeFaceNormal(p0, p1, q, n);  // collinear
    EXPECT_EQ(n[0], 0.0f);
    EXPECT_EQ(n[1], 0.0f);
    EXPECT_EQ(n[2], 0.0f);
}

TEST(Smoothing, SharedGroupAveragesAndDisjointGroupsCrease) {
    // TwoTriangles: face 0 in z = 0, face 1 folded up; shared vertices 1, 2.
    std::vector<float> p = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1};
    float n0[3], n1[3], sum[3];
    SmoothingFaceNormal(p, 0, 1, 2, n0);
    SmoothingFaceNormal(p, 1, 3, 2, n1);

    MeshRecord shared = Mesh(p, {0, 1, 2, 1, 3, 2}, {1, 3});
    SmoothMeshNormals(shared);
    // Face 1 was met last, so it comes first in the shared lists.
    Vec3Add(n1, n0, sum);
    Vec3Normalize(sum, sum);
    float got[3];
    for (int corner : {1, 2, 3, 5}) {
        Normal(shared, corner, got);
        EXPECT_TRUE(SameBits(got, sum)) << corner;
    }
    // A lone face's corner is its face normal normalised once more.
    Vec3Normalize(n0, n0);
    Vec3Normalize(n1, n1);
    Normal(shared, 0, got);
    EXPECT_TRUE(SameBits(got, n0));

    MeshRecord creased = Mesh(p, {0, 1, 2, 1, 3, 2}, {1, 2});
    SmoothMeshNormals(creased);
    for (int corner : {0, 1, 2}) {
        Normal(creased, corner, got);
        EXPECT_TRUE(SameBits(got, n0)) << corner;
    }
    for (int corner : {3, 4, 5}) {
        Normal(creased, corner, got);
        EXPECT_TRUE(SameBits(got, n1)) << corner;
    }

    MeshRecord noMasks = Mesh(p, {0, 1, 2, 1, 3, 2});
    SmoothMeshNormals(noMasks);
    Normal(noMasks, 4, got);
    EXPECT_TRUE(SameBits(got, n1));
}

TEST(Smoothing, SumsInDescendingFaceOrder) {
    // A fan of faces around vertex 0 whose normals add up differently in
    // float depending on the order. The rule: faces in descending order.
    std::vector<float> p = {0, 0, 0};
    std::vector<int> faces;
    const int fan = 7;
    for (int k = 0; k < fan; ++k) {
        double angle = 0.9 * k;
        p.insert(p.end(), {float(std::cos(angle)), float(std::sin(angle)), float(0.3 * k * k)});
        p.insert(p.end(), {float(std::cos(angle + 0.7)), float(std::sin(angle + 0.7)), float(0.1 * k)});
        faces.insert(faces.end(), {0, 1 + 2 * k, 2 + 2 * k});
    }
    std::vector<uint32_t> masks(fan, 1);
    MeshRecord mesh = Mesh(p, faces, masks);
    SmoothMeshNormals(mesh);

    float normals[fan][3];
    for (int f = 0; f < fan; ++f) SmoothingFaceNormal(p, 0, faces[3 * f + 1], faces[3 * f + 2], normals[f]);
    float descending[3] = {0, 0, 0}, ascending[3] = {0, 0, 0};
    for (int f = fan - 1; f >= 0; --f) Vec3Add(descending, normals[f], descending);
    for (int f = 0; f < fan; ++f) Vec3Add(ascending, normals[f], ascending);
    Vec3Normalize(descending, descending);
    Vec3Normalize(ascending, ascending);
    ASSERT_FALSE(SameBits(descending, ascending)) << "the fixture no longer tells the orders apart";
    float got[3];
    Normal(mesh, 0, got);
    EXPECT_TRUE(SameBits(got, descending));
}

TEST(Smoothing, DegenerateFaceAddsNothingAndTakesItsNeighbours) {
    // Face 1 repeats vertex 1: zero normal. Face 0 shares vertices 1, 2.
    std::vector<float> p = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    float n0[3], got[3];
    SmoothingFaceNormal(p, 0, 1, 2, n0);
    MeshRecord mesh = Mesh(p, {0, 1, 2, 1, 1, 2}, {1, 1});
    SmoothMeshNormals(mesh);
    for (int corner = 0; corner < 6; ++corner) {
        Normal(mesh, corner, got);
        EXPECT_TRUE(SameBits(got, n0)) << corner;
    }
    MeshRecord alone = Mesh(p, {0, 1, 2, 1, 1, 2}, {1, 0});
    SmoothMeshNormals(alone);
    for (int corner = 3; corner < 6; ++corner) {
        Normal(alone, corner, got);
        EXPECT_EQ(got[0], 0.0f);
        EXPECT_EQ(got[1], 0.0f);
        EXPECT_EQ(got[2], 0.0f);
    }
}

TEST(Smoothing, RewritesTheMeshPerCorner) {
    std::vector<float> p = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1};
    MeshRecord mesh = Mesh(p, {0, 1, 2, 1, 3, 2}, {1, 1});
    SmoothMeshNormals(mesh);
    EXPECT_FALSE(mesh.faces);
    EXPECT_EQ(mesh.vertexCount, 6);
    EXPECT_EQ(mesh.texCoordCount, 6);
    EXPECT_EQ(mesh.faceCount, 2);
    EXPECT_EQ(mesh.vertices[3 * 4 + 2], 1.0f);  // corner 4 is vertex 3
    for (int i = 0; i < 12; ++i) EXPECT_EQ(mesh.texCoords[i], 0.0f);
}

TEST(Flatten, EmptySceneAndFreedMeshes) {
    ModelScene empty;
    int count = -1;
    auto flat = FlattenScene(empty, count);
    EXPECT_TRUE(flat);
    EXPECT_EQ(count, 0);

    ModelScene scene;
    scene.meshes.push_back(Mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2}));
    scene.meshes.push_back(Mesh({5, 0, 0}, {}));
    scene.meshes.push_back(Mesh({0, 0, 0, 0, 0, 2, 0, 3, 0}, {0, 1, 2, 2, 1, 0}));
    flat = FlattenScene(scene, count);
    EXPECT_EQ(count, 9);
    EXPECT_TRUE(scene.meshes.empty());
    EXPECT_EQ(flat[3].position[2], 0.0f);
    EXPECT_EQ(flat[4].position[2], 2.0f);
    EXPECT_EQ(flat[8].position[0], 0.0f);
    EXPECT_EQ(flat[0].normal[2], 1.0f);
    EXPECT_EQ(flat[3].normal[0], -1.0f);
}

}  // namespace
