// Mesh preparation: vector helpers, face normals, smoothing groups.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "fixtures.h"

namespace {

// The flat array of one mesh straight from data, written and read back.
std::vector<FlatVertex> Smoothed(const std::vector<float>& positions, const std::vector<uint16_t>& faces,
                                 const std::vector<uint32_t>& masks = {}) {
    testing::internal::CaptureStderr();
    std::vector<FlatVertex> flat = Flatten(Objects({{"Mesh", positions, {}, faces, masks}}).Bytes());
    testing::internal::GetCapturedStderr();
    return flat;
}

// The smoothing rules worked out again in plain single-precision arithmetic,
// not with the vector helpers under test: a face's normal is the normalised
// (b - a) x (c - a); normalising takes the length's square root in double
// precision and multiplies by its reciprocal, also taken in double.
struct V3 {
    float x, y, z;
};
V3 At(const std::vector<float>& p, int i) { return {p[3 * i], p[3 * i + 1], p[3 * i + 2]}; }
V3 Plus(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 Normalised(V3 v) {
    float length = float(std::sqrt(double(v.x * v.x + v.y * v.y + v.z * v.z)));
    if (length == 0.0f) return {0, 0, 0};
    float inverse = float(1.0 / double(length));
    return {v.x * inverse, v.y * inverse, v.z * inverse};
}
V3 SmoothingFaceNormal(const std::vector<float>& p, int a, int b, int c) {
    V3 pa = At(p, a), pb = At(p, b), pc = At(p, c);
    V3 u = {pb.x - pa.x, pb.y - pa.y, pb.z - pa.z}, w = {pc.x - pa.x, pc.y - pa.y, pc.z - pa.z};
    return Normalised({u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x});
}
bool SameBits(const float a[3], V3 b) {
    const float bits[3] = {b.x, b.y, b.z};
    return std::memcmp(a, bits, sizeof bits) == 0;
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
    V3 n0 = SmoothingFaceNormal(p, 0, 1, 2), n1 = SmoothingFaceNormal(p, 1, 3, 2);

    // Face 1 was met last, so it comes first in the shared lists. A face
    // naming a missing vertex between them is left out with its mask: the
    // face after it keeps its own.
    V3 sum = Normalised(Plus(n1, n0));
    for (const std::vector<FlatVertex>& shared : {Smoothed(p, {0, 1, 2, 1, 3, 2}, {1, 3}),
                                                  Smoothed(p, {0, 1, 2, 0, 9, 2, 1, 3, 2}, {1, 2, 3})}) {
        ASSERT_EQ(shared.size(), 6u);
        for (int corner : {1, 2, 3, 5}) EXPECT_TRUE(SameBits(shared[corner].normal, sum)) << corner;
        // Worked by hand: (0, 0, 1) + (-1, -1, 1) / sqrt 3, made unit.
        EXPECT_NEAR(shared[1].normal[0], -0.32506, 1e-5);
        EXPECT_NEAR(shared[1].normal[1], -0.32506, 1e-5);
        EXPECT_NEAR(shared[1].normal[2], 0.88807, 1e-5);
    }
    // A lone face's corner is its face normal normalised once more.
    std::vector<FlatVertex> creased = Smoothed(p, {0, 1, 2, 1, 3, 2}, {1, 2});
    ASSERT_EQ(creased.size(), 6u);
    for (int corner : {0, 1, 2}) EXPECT_TRUE(SameBits(creased[corner].normal, Normalised(n0))) << corner;
    for (int corner : {3, 4, 5}) EXPECT_TRUE(SameBits(creased[corner].normal, Normalised(n1))) << corner;
    EXPECT_NEAR(creased[4].normal[0], -0.57735, 1e-5);
    EXPECT_NEAR(creased[4].normal[2], 0.57735, 1e-5);

    std::vector<FlatVertex> noMasks = Smoothed(p, {0, 1, 2, 1, 3, 2});
    EXPECT_TRUE(SameBits(noMasks[4].normal, Normalised(n1)));
}

TEST(Smoothing, SumsInDescendingFaceOrder) {
    // A fan of faces around vertex 0 whose normals add up differently in
    // float depending on the order. The rule: faces in descending order.
    std::vector<float> p = {0, 0, 0};
    std::vector<uint16_t> faces;
    const int fan = 7;
    for (int k = 0; k < fan; ++k) {
        double angle = 0.9 * k;
        p.insert(p.end(), {float(std::cos(angle)), float(std::sin(angle)), float(0.3 * k * k)});
        p.insert(p.end(), {float(std::cos(angle + 0.7)), float(std::sin(angle + 0.7)), float(0.1 * k)});
        faces.insert(faces.end(), {0, uint16_t(1 + 2 * k), uint16_t(2 + 2 * k)});
    }
    std::vector<FlatVertex> flat = Smoothed(p, faces, std::vector<uint32_t>(fan, 1));

    V3 descending = {0, 0, 0}, ascending = {0, 0, 0};
    for (int f = fan - 1; f >= 0; --f)
        descending = Plus(descending, SmoothingFaceNormal(p, 0, faces[3 * f + 1], faces[3 * f + 2]));
    for (int f = 0; f < fan; ++f)
        ascending = Plus(ascending, SmoothingFaceNormal(p, 0, faces[3 * f + 1], faces[3 * f + 2]));
    descending = Normalised(descending);
    ascending = Normalised(ascending);
    ASSERT_FALSE(std::memcmp(&descending, &ascending, sizeof descending) == 0)
        << "the fixture no longer tells the orders apart";
    ASSERT_EQ(flat.size(), 3u * fan);
    EXPECT_TRUE(SameBits(flat[0].normal, descending));
}

TEST(Smoothing, DegenerateFaceAddsNothingAndTakesItsNeighbours) {
    // Face 1 repeats vertex 1: zero normal. Face 0 shares vertices 1, 2.
    std::vector<float> p = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    std::vector<FlatVertex> flat = Smoothed(p, {0, 1, 2, 1, 1, 2}, {1, 1});
    ASSERT_EQ(flat.size(), 6u);
    for (int corner = 0; corner < 6; ++corner) EXPECT_TRUE(SameBits(flat[corner].normal, {0, 0, 1})) << corner;
    std::vector<FlatVertex> alone = Smoothed(p, {0, 1, 2, 1, 1, 2}, {1, 0});
    ASSERT_EQ(alone.size(), 6u);
    for (int corner = 3; corner < 6; ++corner) EXPECT_TRUE(SameBits(alone[corner].normal, {0, 0, 0})) << corner;
}

TEST(Flatten, EmptySceneAndFreedMeshes) {
    ModelScene empty;
    int count = -1;
    auto flat = FlattenScene(empty, count);
    EXPECT_TRUE(flat);
    EXPECT_EQ(count, 0);

    Parsed parsed = ParseScene(Objects({{"Triangle", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {}, {0, 1, 2}},
                                        {"Cloud", {5, 0, 0}},  // vertices and no faces
                                        {"Pair", {0, 0, 0, 0, 0, 2, 0, 3, 0}, {}, {0, 1, 2, 2, 1, 0}}})
                                   .Bytes());
    ASSERT_EQ(parsed.scene.meshes.size(), 3u);
    flat = FlattenScene(parsed.scene, count);
    EXPECT_EQ(count, 9);
    EXPECT_TRUE(parsed.scene.meshes.empty());
    EXPECT_EQ(flat[3].position[2], 0.0f);
    EXPECT_EQ(flat[4].position[2], 2.0f);
    EXPECT_EQ(flat[8].position[0], 0.0f);
    EXPECT_EQ(flat[0].normal[2], 1.0f);
    EXPECT_EQ(flat[3].normal[0], -1.0f);
    // No mapping list: every coordinate is 0.
    for (int v = 0; v < count; ++v) EXPECT_TRUE(flat[v].texCoord[0] == 0.0f && flat[v].texCoord[1] == 0.0f) << v;
}

}  // namespace
