// Malformed and hostile files: the reader keeps what it can read, says what
// was wrong on one line per problem, and never reads outside the file's
// bytes (the suite runs under AddressSanitizer) or loops.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "hostile_models.h"

namespace {

using testing::HasSubstr;

std::string StderrOf(const Bytes& bytes, Parsed* parsed = nullptr) {
    testing::internal::CaptureStderr();
    Parsed result = ParseScene(bytes);
    std::string err = testing::internal::GetCapturedStderr();
    if (parsed) *parsed = std::move(result);
    return err;
}

TEST(Hostile, ZeroAndShortLengthsEndAtTheParentAndNeverLoop) {
    for (uint32_t length : {0u, 5u, 0xFFFFFFFFu, 0x80000000u}) {
        Tampered file = WithLength(0x4000, 1, length);
        size_t second = file.chunk;
        Parsed parsed;
        std::string err = StderrOf(file.bytes, &parsed);
        // The first object is whole; the broken one spans the rest of the
        // editor chunk and its mesh is still found there.
        ASSERT_EQ(parsed.scene.meshes.size(), 2u) << length;
        EXPECT_EQ(parsed.scene.meshes[1].vertices[0], 10.0f);
        EXPECT_THAT(err, HasSubstr("chunk 0x4000 at " + std::to_string(second) + ": length " +
                                   std::to_string(int32_t(length)) + " below 6"));
    }
}

TEST(Hostile, ChildReachingPastItsParentIsCutAndTheWalkGoesOn) {
    Tampered file = WithLength(0x4100, 0, 100000);
    size_t firstObject = file.file.Offset(0x4000);
    size_t mesh = file.chunk;
    uint32_t objectEnd = file.bytes[firstObject + 2] | file.bytes[firstObject + 3] << 8;
    Parsed parsed;
    std::string err = StderrOf(file.bytes, &parsed);
    ASSERT_EQ(parsed.scene.meshes.size(), 2u);
    EXPECT_EQ(parsed.scene.meshes[0].faceCount, 2);
    EXPECT_EQ(parsed.scene.meshes[1].vertices[0], 10.0f);
    EXPECT_EQ(err, "chunk 0x4100 at " + std::to_string(mesh) + ": length 100000 runs past " +
                       std::to_string(firstObject + objectEnd) + ", cut there\n");
}

TEST(Hostile, EveryTruncationKeepsTheWholeMeshesBeforeIt) {
    Writer3ds file = Objects({Named("A", 0), Named("B", 10)});
    Bytes whole = file.Bytes();
    size_t secondObject = file.Offset(0x4000, 1);
    for (size_t size = 0; size <= whole.size(); ++size) {
        Bytes prefix(whole.begin(), whole.begin() + size);
        testing::internal::CaptureStderr();
        int count = -1;
        auto model = ParseModel3ds(prefix.data(), prefix.size(), count);
        std::string err = testing::internal::GetCapturedStderr();
        if (size < 6) {
            EXPECT_FALSE(model);
            continue;
        }
        ASSERT_TRUE(model) << size;
        EXPECT_LE(count, 12);
        if (size >= secondObject) {
            EXPECT_GE(count, 6) << size;
        }
        if (size < whole.size()) {
            EXPECT_THAT(err, HasSubstr("chunk 0x4d4d at 0: length")) << size;
        } else {
            EXPECT_EQ(err, "");
        }
    }
}

TEST(Hostile, CountsBeyondTheChunkReadOnlyTheRecordsPresent) {
    Tampered vertices = WithCount(0x4110, 65535);
    Parsed parsed;
    std::string err = StderrOf(vertices.bytes, &parsed);
    ASSERT_EQ(parsed.scene.meshes.size(), 1u);
    EXPECT_EQ(parsed.scene.meshes[0].vertexCount, 4);
    EXPECT_EQ(err, "chunk 0x4110 at " + std::to_string(vertices.chunk) + ": 65535 records but room for 4\n");

    Tampered faces = WithCount(0x4120, 40000);
    size_t faceList = faces.chunk;
    err = StderrOf(faces.bytes, &parsed);
    // 16 bytes of faces and the 14-byte smoothing chunk: 3 whole records.
    EXPECT_EQ(parsed.scene.meshes[0].faceCount, 3);
    EXPECT_THAT(err, HasSubstr("chunk 0x4120 at " + std::to_string(faceList) + ": 40000 records but room for 3"));
}

TEST(Hostile, FacesPastTheVertexListAreSkipped) {
    ObjectData object = FacesPastVertices();
    testing::internal::CaptureStderr();
    int count = 0;
    Writer3ds file = Objects({object});
    Bytes bytes = file.Bytes();
    auto model = ParseModel3ds(bytes.data(), bytes.size(), count);
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(model);
    EXPECT_EQ(count, 6);
    EXPECT_EQ(model[3].position[0], 1.0f);
    EXPECT_EQ(err, "chunk 0x4100 at " + std::to_string(file.Offset(0x4100)) + ": 2 faces name vertices past its 4, skipped\n");

    bytes = Objects({FacesWithoutVertices()}).Bytes();
    testing::internal::CaptureStderr();
    model = ParseModel3ds(bytes.data(), bytes.size(), count);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(count, 0);
}

TEST(Hostile, ShortMappingListGivesZeroCoordinates) {
    ObjectData object = TwoTriangles();
    object.mapping = {0.5f, 0.25f};  // vertex 0 only
    std::vector<FlatVertex> flat = Flatten(Objects({object}).Bytes());
    ASSERT_EQ(flat.size(), 6u);
    EXPECT_EQ(flat[0].texCoord[0], 0.5f);
    EXPECT_EQ(flat[0].texCoord[1], 0.75f);
    EXPECT_EQ(flat[1].texCoord[0], 0.0f);
    EXPECT_EQ(flat[1].texCoord[1], 0.0f);
}

TEST(Hostile, ShortSmoothingChunkLeavesTheRestFlat) {
    ObjectData object = TwoTriangles(1, 1);
    Writer3ds file = Objects({object});
    Bytes bytes = file.Bytes();
    size_t masks = file.Offset(0x4150);
    // Say the chunk holds 4 bytes; the second mask becomes stray bytes.
    Set32(bytes, masks + 2, 10);
    Parsed parsed;
    std::string err = StderrOf(bytes, &parsed);
    ASSERT_TRUE(parsed.scene.meshes[0].smoothingGroups);
    EXPECT_EQ(parsed.scene.meshes[0].smoothingGroups[0], 1u);
    EXPECT_EQ(parsed.scene.meshes[0].smoothingGroups[1], 0u);
    EXPECT_EQ(err, "chunk 0x4150 at " + std::to_string(masks) +
                       ": 2 records but room for 1\nexpected 14 bytes but read 10\n");
}

TEST(Hostile, NameWithoutZeroEndsAtItsChunk) {
    Parsed parsed;
    std::string err = StderrOf(NameWithoutZero(), &parsed);
    EXPECT_TRUE(parsed.scene.meshes.empty());
    EXPECT_EQ(err, "chunk 0x4000 at 12: name without its zero byte\n");
}

TEST(Hostile, OnlyTheFirstChunkIsTheModel) {
    Bytes bytes = Objects({Named("A", 0)}).Bytes();
    Bytes more = Objects({Named("B", 0)}).Bytes();
    bytes.insert(bytes.end(), more.begin(), more.end());
    Parsed parsed;
    EXPECT_EQ(StderrOf(bytes, &parsed), "");
    EXPECT_EQ(parsed.scene.meshes.size(), 1u);
}

TEST(Hostile, DeepNestingOfUnknownChunksIsSkippedFlat) {
    // Unknown ids are skipped whole, never descended into, so nesting depth
    // costs nothing.
    Parsed parsed;
    EXPECT_EQ(StderrOf(DeepNesting(), &parsed), "");
    EXPECT_TRUE(parsed.isModel);
}

}  // namespace
