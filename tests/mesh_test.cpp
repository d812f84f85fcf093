// Mesh preparation: vector helpers, face normals, smoothing groups. The
// expected normals are worked by hand, or worked here in double precision
// from the smoothing rule and met within kTolerance (single precision holds
// about 7 digits, and a normal goes through a few roundings); where the rule
// fixes the last bits, by hand to the bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

#include "fixtures.h"

namespace {

constexpr double kTolerance = 1e-6;
using Normal = std::array<double, 3>;

// The flat array of one mesh straight from data, written and read back.
std::vector<FlatVertex> Smoothed(const std::vector<float>& positions, const std::vector<uint16_t>& faces,
                                 const std::vector<uint32_t>& masks = {}) {
    testing::internal::CaptureStderr();
    std::vector<FlatVertex> flat = Flatten(Objects({{"Mesh", positions, {}, faces, masks}}).Bytes());
    testing::internal::GetCapturedStderr();
    return flat;
}

Normal Unit(Normal v) {
    double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0)
        for (double& c : v) c /= length;
    return v;
}

// The rule in double precision, over the faces that name existing vertices:
// a face's normal is the unit (b - a) x (c - a); a corner's, the unit sum of
// the normals of the faces that use its vertex (once per corner that does)
// and are its own face or share a smoothing group with it. Faces past the
// masks have none.
std::vector<Normal> CornerNormals(const std::vector<float>& p, const std::vector<uint16_t>& indices,
                                  const std::vector<uint32_t>& masks) {
    std::vector<std::array<int, 3>> faces;
    std::vector<uint32_t> kept;
    std::vector<Normal> normals;
    for (size_t f = 0; 3 * f < indices.size(); ++f) {
        std::array<int, 3> c = {indices[3 * f], indices[3 * f + 1], indices[3 * f + 2]};
        if (3 * size_t(*std::max_element(c.begin(), c.end())) >= p.size()) continue;
        auto edge = [&](int k, int i) { return double(p[3 * c[k] + i]) - double(p[3 * c[0] + i]); };
        normals.push_back(Unit({edge(1, 1) * edge(2, 2) - edge(1, 2) * edge(2, 1),
                                edge(1, 2) * edge(2, 0) - edge(1, 0) * edge(2, 2),
                                edge(1, 0) * edge(2, 1) - edge(1, 1) * edge(2, 0)}));
        faces.push_back(c);
        kept.push_back(f < masks.size() ? masks[f] : 0);
    }
    std::vector<Normal> corners;
    for (size_t f = 0; f < faces.size(); ++f)
        for (int v : faces[f]) {
            Normal sum = {0, 0, 0};
            for (size_t g = 0; g < faces.size(); ++g)
                if (g == f || (kept[f] & kept[g]))
                    for (int u : faces[g])
                        if (u == v)
                            for (int i = 0; i < 3; ++i) sum[i] += normals[g][i];
            corners.push_back(Unit(sum));
        }
    return corners;
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

// Normalising multiplies by the length's reciprocal, which is not always
// the quotient: for (1, 0, 7), sqrt 50 rounds to 7.07106781 and its
// reciprocal to 0.141421363; 7 x 0.141421363 rounds to 0.989949524, where
// 7 / 7.07106781 rounds to 0.989949465.
TEST(Vectors, NormalizeMultipliesByTheRoundedReciprocal) {
    float v[3] = {1, 0, 7};
    EXPECT_EQ(Vec3Normalize(v, v), 7.07106781f);
    EXPECT_EQ(v[0], 0.141421363f);
    EXPECT_EQ(v[2], 0.989949524f);
}

TEST(FaceNormal, FollowsTheWindingDividesByTheLengthAndIsZeroWhenDegenerate) {
    const struct {
        float p0[3], p1[3], p2[3];
        float normal[3];
    } cases[] = {
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
        {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 0}},  // collinear
        // (0, 1, 0) x (-7, 0, 1) = (1, 0, 7), divided by 7.07106781.
        {{0, 0, 0}, {0, 1, 0}, {-7, 0, 1}, {0.141421363f, 0, 0.989949465f}},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        float n[3];
        ComputeFaceNormal(cases[k].p0, cases[k].p1, cases[k].p2, n);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(n[i], cases[k].normal[i]) << "case " << k << ", component " << i;
    }
}

TEST(Smoothing, FollowsTheGroupsOfTheFacesAroundEachVertex) {
    // TwoTriangles: face 0 in z = 0, face 1 folded up; shared vertices 1, 2.
    const std::vector<float> pair = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1}, triangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    std::vector<float> fan = {0, 0, 0};
    std::vector<uint16_t> fanFaces;
    for (int k = 0; k < 7; ++k) {
        fan.insert(fan.end(), {float(std::cos(0.9 * k)), float(std::sin(0.9 * k)), float(0.3 * k * k)});
        fan.insert(fan.end(), {float(std::cos(0.9 * k + 0.7)), float(std::sin(0.9 * k + 0.7)), float(0.1 * k)});
        fanFaces.insert(fanFaces.end(), {0, uint16_t(1 + 2 * k), uint16_t(2 + 2 * k)});
    }
    const struct {
        const char* what;
        std::vector<float> positions;
        std::vector<uint16_t> faces;
        std::vector<uint32_t> masks;
        int corner;  // and its normal, worked by hand
        Normal normal;
    } cases[] = {
        // (0, 0, 1) + (-1, -1, 1) / sqrt 3, made unit.
        {"a shared group", pair, {0, 1, 2, 1, 3, 2}, {1, 3}, 1, {-0.3250576, -0.3250576, 0.8880738}},
        {"a face naming a missing vertex, left out with its mask", pair, {0, 1, 2, 0, 9, 2, 1, 3, 2}, {1, 2, 3},
         5, {-0.3250576, -0.3250576, 0.8880738}},
        {"no group shared", pair, {0, 1, 2, 1, 3, 2}, {1, 2}, 4, {-0.5773503, -0.5773503, 0.5773503}},
        {"no masks: flat", pair, {0, 1, 2, 1, 3, 2}, {}, 1, {0, 0, 1}},
        {"mask 0 shares with nobody", pair, {0, 1, 2, 1, 3, 2}, {0, 1}, 2, {0, 0, 1}},
        // Face 1 repeats vertex 1: no normal of its own.
        {"a degenerate face takes its neighbours'", triangle, {0, 1, 2, 1, 1, 2}, {1, 1}, 3, {0, 0, 1}},
        {"a degenerate face alone stays zero", triangle, {0, 1, 2, 1, 1, 2}, {1, 0}, 3, {0, 0, 0}},
        {"seven faces around a vertex", fan, fanFaces, std::vector<uint32_t>(7, 1), -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<FlatVertex> flat = Smoothed(c.positions, c.faces, c.masks);
        std::vector<Normal> expected = CornerNormals(c.positions, c.faces, c.masks);
        ASSERT_EQ(flat.size(), expected.size());
        for (size_t v = 0; v < flat.size(); ++v)
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(flat[v].normal[i], expected[v][i], kTolerance) << "corner " << v;
        if (c.corner >= 0) {
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(flat[c.corner].normal[i], c.normal[i], kTolerance);
        }
    }
}

// Faces are summed in descending order, which fixes a corner's last bits.
// Around vertex 0 the three faces' normals are (0, 1, 1) / sqrt 2,
// (-1, 1, 1) / sqrt 3 and (0, -1, 0); their y components, rounded, are
// 11863283, 9686330 and -16777216 units of 2^-24. Descending, the sum is
// exact: 4772397; ascending, 11863283 + 9686330 passes 2^24 and rounds to
// even, 21549612, leaving 4772396. Made unit: 0.197994679 against
// 0.197994635.
TEST(Smoothing, SumsInDescendingFaceOrder) {
    std::vector<FlatVertex> flat = Smoothed({0, 0, 0, -1, 0, 0, 0, -1, 1, 1, 0, 1}, {0, 1, 2, 0, 2, 3, 0, 3, 1}, {1, 1, 1});
    ASSERT_EQ(flat.size(), 9u);
    for (int corner : {0, 3, 6}) EXPECT_EQ(flat[corner].normal[1], 0.197994679f) << corner;
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
