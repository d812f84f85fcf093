// Our shipped model, checked through the reader as the saver reads it.
#include <gtest/gtest.h>

#include <set>

#include "drake.h"
#include "fixtures.h"

namespace {

TEST(Drake, IsDeterministic) {
    EXPECT_EQ(WriteModel3ds(MakeDrake()), WriteModel3ds(MakeDrake()));
}

TEST(Drake, HasTheShapeTheSaverNeeds) {
    std::vector<ObjectData> objects = MakeDrake();
    Parsed parsed = ParseScene(WriteModel3ds(objects));
    ASSERT_TRUE(parsed.isModel);
    ASSERT_EQ(parsed.scene.meshes.size(), objects.size());
    EXPECT_GE(objects.size(), 3u);

    int triangles = 0;
    bool mapped = false;
    std::set<uint32_t> masks;
    for (size_t m = 0; m < objects.size(); ++m) {
        const MeshRecord& mesh = parsed.scene.meshes[m];
        EXPECT_LT(mesh.vertexCount, 65535) << objects[m].name;
        EXPECT_EQ(mesh.faceCount * 3, int(objects[m].faces.size()));
        for (int i = 0; i < 3 * mesh.faceCount; ++i) ASSERT_LT(mesh.faces[i], mesh.vertexCount);
        ASSERT_TRUE(mesh.smoothingGroups);
        for (int f = 0; f < mesh.faceCount; ++f) masks.insert(mesh.smoothingGroups[f]);
        mapped = mapped || mesh.texCoordCount == mesh.vertexCount;
        triangles += mesh.faceCount;
    }
    EXPECT_GE(triangles, 10000);
    EXPECT_LE(triangles, 40000);
    EXPECT_TRUE(mapped);
    // Smooth groups that meet at creases, and flat-shaded parts.
    EXPECT_GE(masks.size(), 3u);
    EXPECT_TRUE(masks.count(0));
}

TEST(Drake, FitsTheViewAndHasNoBrokenTriangles) {
    int count = 0;
    Bytes bytes = WriteModel3ds(MakeDrake());
    testing::internal::CaptureStderr();
    auto model = ParseModel3ds(bytes.data(), bytes.size(), count);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(model);
    int degenerate = 0;
    for (int t = 0; t < count / 3; ++t) {
        float n[3];
        ComputeFaceNormal(model[3 * t].position, model[3 * t + 1].position, model[3 * t + 2].position, n);
        if (n[0] == 0 && n[1] == 0 && n[2] == 0) ++degenerate;
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < 3; ++i) {
                // 50 units from the camera a 45 degree view is 41 units
                // high; the model must fit with room to fly apart.
                ASSERT_LT(std::abs(model[3 * t + k].position[i]), 14.0f);
            }
    }
    EXPECT_EQ(degenerate, 0);
}

}  // namespace
