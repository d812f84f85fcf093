// The reader on well-formed files: which chunks it keeps, how it walks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "fixtures.h"
#include "test_folder.h"

namespace {

TEST(Reader, KeepsOnlyTheMeshesOfAFullFileInFileOrder) {
    // Version, mesh version, a material, local axes, a material group in
    // the face list and a keyframer block: all skipped by their lengths.
    ObjectData first = TwoTriangles();
    first.name = "First";
    first.material = "Scales";
    ObjectData second = TwoTriangles();
    second.name = "Second";
    for (float& p : second.positions) p += 10.0f;
    Parsed parsed = ParseScene(WriteModel3ds({first, second}));
    ASSERT_TRUE(parsed.isModel);
    ASSERT_EQ(parsed.scene.meshes.size(), 2u);
    EXPECT_EQ(parsed.scene.meshes[0].vertexCount, 4);
    EXPECT_EQ(parsed.scene.meshes[0].faceCount, 2);
    EXPECT_EQ(parsed.scene.meshes[1].vertices[0], 10.0f);

    std::vector<FlatVertex> flat = Flatten(WriteModel3ds({first, second}));
    ASSERT_EQ(flat.size(), 12u);
    EXPECT_EQ(flat[0].position[0], 0.0f);
    EXPECT_EQ(flat[6].position[0], 10.0f);
}

TEST(Reader, FlatArrayFollowsFaceAndCornerOrder) {
    std::vector<FlatVertex> flat = Flatten(WriteModel3ds({TwoTriangles()}));
    ASSERT_EQ(flat.size(), 6u);
    // Faces (0, 1, 2) and (1, 3, 2): corners a, b, c in that order.
    const float expected[6][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 0}};
    for (int v = 0; v < 6; ++v)
        for (int i = 0; i < 3; ++i) EXPECT_EQ(flat[v].position[i], expected[v][i]) << v;
}

TEST(Reader, ObjectWithoutTriangleMeshAddsNoMesh) {
    Writer3ds out;
    out.Begin(0x3D3D);
    for (uint16_t kind : {0x4600, 0x4700}) {  // a light, a camera
        out.Begin(0x4000);
        out.Name("Lamp");
        out.Begin(kind);
        for (int i = 0; i < 8; ++i) out.F32(1.0f);
        out.End();
        out.End();
    }
    out.End();
    Parsed parsed = ParseScene(MainChunk(out.Bytes()));
    EXPECT_TRUE(parsed.isModel);
    EXPECT_TRUE(parsed.scene.meshes.empty());
}

TEST(Reader, SkipNameConsumesTheZeroByte) {
    const unsigned char bytes[] = {'S', 'e', 'v', 'e', 'n', '7', '7', 0, 0xAA};
    ModelFile file{bytes, sizeof bytes, 0};
    EXPECT_EQ(SkipName(file, sizeof bytes), 8);
    EXPECT_EQ(file.pos, 8);

    // The same name as an object name: the mesh behind it is still found.
    ObjectData object = TwoTriangles();
    object.name = "Seven77";
    Parsed parsed = ParseScene(WriteModel3ds({object}));
    ASSERT_EQ(parsed.scene.meshes.size(), 1u);
    EXPECT_EQ(parsed.scene.meshes[0].faceCount, 2);
}

TEST(Reader, MappingStoresOneMinusV) {
    ObjectData object = TwoTriangles();
    object.mapping = {0.25f, 0.25f, 0.1f, 0.7f, 1.0f, 0.0f, 0.5f, 2.0f};
    Parsed parsed = ParseScene(WriteModel3ds({object}));
    ASSERT_EQ(parsed.scene.meshes.size(), 1u);
    const MeshRecord& mesh = parsed.scene.meshes[0];
    ASSERT_EQ(mesh.texCoordCount, 4);
    EXPECT_EQ(mesh.texCoords[0], 0.25f);
    EXPECT_EQ(mesh.texCoords[1], 0.75f);
    EXPECT_EQ(mesh.texCoords[2], 0.1f);
    EXPECT_EQ(mesh.texCoords[3], 0.3f);  // 1 - 0.7f is 0.3f exactly
    EXPECT_EQ(mesh.texCoords[5], 1.0f);
    EXPECT_EQ(mesh.texCoords[7], -1.0f);
}

TEST(Reader, FaceListWalksItsSmoothingChild) {
    ObjectData object = TwoTriangles(0x5, 0x80000000u);
    Parsed withMasks = ParseScene(WriteModel3ds({object}));
    ASSERT_TRUE(withMasks.scene.meshes[0].smoothingGroups);
    EXPECT_EQ(withMasks.scene.meshes[0].smoothingGroups[0], 0x5u);
    EXPECT_EQ(withMasks.scene.meshes[0].smoothingGroups[1], 0x80000000u);

    // Two faces and no children: body 2 + 2 x 8 = 18 bytes, no sub-walk.
    object.smoothing.clear();
    Writer3ds file;
    WriteModel3ds(file, {object});
    Bytes bytes = file.Bytes();
    size_t faceList = file.Offset(0x4120);
    EXPECT_EQ(bytes[faceList + 2], 6 + 18);
    testing::internal::CaptureStderr();
    Parsed without = ParseScene(bytes);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(without.scene.meshes[0].faceCount, 2);
    EXPECT_FALSE(without.scene.meshes[0].smoothingGroups);
}

TEST(Reader, SecondListReplacesTheFirst) {
    Writer3ds out;
    out.Begin(0x3D3D);
    out.Begin(0x4000);
    out.Name("Twice");
    out.Begin(0x4100);
    for (int list = 1; list <= 2; ++list) {
        out.Begin(0x4110);
        out.U16(3);
        for (int i = 0; i < 9; ++i) out.F32(float(list * 10 + i));
        out.End();
    }
    out.Begin(0x4120);  // one face, with a smoothing mask
    out.U16(1);
    for (uint16_t v : {0, 1, 2, 0}) out.U16(v);
    out.Begin(0x4150);
    out.U32(1);
    out.End();
    out.End();
    out.Begin(0x4120);  // two faces, no masks: the old mask must not stay
    out.U16(2);
    for (uint16_t v : {0, 1, 2, 0, 2, 1, 0, 0}) out.U16(v);
    out.End();
    out.End();
    out.End();
    out.End();
    Parsed parsed = ParseScene(MainChunk(out.Bytes()));
    ASSERT_EQ(parsed.scene.meshes.size(), 1u);
    const MeshRecord& mesh = parsed.scene.meshes[0];
    EXPECT_EQ(mesh.vertices[0], 20.0f);
    EXPECT_EQ(mesh.faceCount, 2);
    EXPECT_EQ(mesh.faces[3], 2);
    EXPECT_EQ(mesh.faces[5], 0);
    EXPECT_FALSE(mesh.smoothingGroups);
}

TEST(Reader, ReadChunkReturnsItsLengthAndWalkReportsLeftovers) {
    Writer3ds out;
    out.Begin(0x1234);
    out.U32(0);
    out.End();
    out.Raw({1, 2, 3});  // too short for another header
    Bytes bytes = out.Bytes();
    ModelFile file{bytes.data(), int(bytes.size()), 0};
    auto decline = [](ModelFile&, uint16_t, int, void*) { return false; };
    testing::internal::CaptureStderr();
    EXPECT_EQ(WalkChunks(file, int(bytes.size()), decline, nullptr), 10);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "expected 13 bytes but read 10\n");
    EXPECT_EQ(file.pos, 13);

    file.pos = 0;
    EXPECT_EQ(ReadChunk(file, int(bytes.size()), decline, nullptr), 10);
    EXPECT_EQ(file.pos, 10);
}

TEST(Reader, ReadsLittleEndianAndStopsAtTheEnd) {
    const unsigned char bytes[] = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x80, 0x3F, 0xFF};
    ModelFile file{bytes, sizeof bytes, 0};
    EXPECT_EQ(ReadU16(file), 0x1234);
    EXPECT_EQ(ReadU32(file), 0x12345678u);
    EXPECT_EQ(LoadF32(bytes + file.pos), 1.0f);
    file.pos += 4;
    EXPECT_EQ(ReadU16(file), 0);  // one byte left: nothing read past it
    EXPECT_EQ(file.pos, int(sizeof bytes));
    EXPECT_EQ(ReadU32(file), 0u);
}

TEST(Reader, MissingFileAndWrongMainChunk) {
    int count = 77;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadModel3ds("/nonexistent/Ondrake.3DS", count));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error open /nonexistent/Ondrake.3DS file\n");
    EXPECT_EQ(count, 77);

    // A folder opens for reading but holds no bytes to map: to the user it
    // is a file that cannot be opened.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadModel3ds("/", count));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error open / file\n");
    EXPECT_EQ(count, 77);

    Bytes notAModel = {0x3D, 0x3D, 6, 0, 0, 0};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ParseModel3ds(notAModel.data(), notAModel.size(), count));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "wrong main chunk\n");
    EXPECT_EQ(count, 77);
}

TEST(Reader, EmptyScenesGiveAnEmptyArray) {
    Writer3ds editorOnly;
    editorOnly.Begin(0x3D3D);
    editorOnly.End();
    Writer3ds vertexOnly;  // a mesh with positions but no face list
    vertexOnly.Begin(0x3D3D);
    vertexOnly.Begin(0x4000);
    vertexOnly.Name("Cloud");
    vertexOnly.Begin(0x4100);
    vertexOnly.Begin(0x4110);
    vertexOnly.U16(1);
    for (int i = 0; i < 3; ++i) vertexOnly.F32(1.0f);
    vertexOnly.End();
    vertexOnly.End();
    vertexOnly.End();
    vertexOnly.End();
    for (const Bytes& body : {Bytes{}, editorOnly.Bytes(), vertexOnly.Bytes()}) {
        Bytes bytes = MainChunk(body);
        int count = -1;
        auto model = ParseModel3ds(bytes.data(), bytes.size(), count);
        EXPECT_TRUE(model);
        EXPECT_EQ(count, 0);
    }
}

TEST(Reader, LoadsFromAFileAsFromMemory) {
    // The whole model with bytes after it, which are not read; and the model
    // cut short inside its last mesh, where a mapping must end with the file.
    Writer3ds file;
    WriteModel3ds(file, {TwoTriangles(1, 2), Named("Second", 5)});
    Bytes bytes = file.Bytes();
    Bytes trailing = bytes;
    for (char c : std::string("trailing bytes after the main chunk")) trailing.push_back(c);
    Bytes cut(bytes.begin(), bytes.begin() + file.Offset(0x4120, 1) + 6 + 2 + 8 + 3);
    for (const auto& [onDisk, inMemory] : {std::pair{trailing, bytes}, std::pair{cut, cut}}) {
        std::string path = WriteFile(TestFolder() + "reader_test.3ds", onDisk);
        testing::internal::CaptureStderr();
        int count = 0, openCount = 0;
        auto model = LoadModel3ds(path.c_str(), count);
        int fd = open(path.c_str(), O_RDONLY);
        auto fromOpen = LoadModel3dsFromFile(fd, path.c_str(), openCount);
        EXPECT_EQ(fcntl(fd, F_GETFD), 0) << "the caller's descriptor stays open";
        close(fd);
        std::remove(path.c_str());
        std::string fileErr = testing::internal::GetCapturedStderr();
        testing::internal::CaptureStderr();
        int memoryCount = 0;
        std::vector<FlatVertex> fromMemory = Flatten(inMemory, &memoryCount);
        std::string memoryErr = testing::internal::GetCapturedStderr();
        EXPECT_EQ(fileErr, memoryErr + memoryErr);
        ASSERT_TRUE(model);
        ASSERT_TRUE(fromOpen);
        ASSERT_EQ(count, memoryCount);
        ASSERT_EQ(openCount, memoryCount);
        EXPECT_EQ(std::memcmp(model.get(), fromMemory.data(), sizeof(FlatVertex) * count), 0);
        EXPECT_EQ(std::memcmp(fromOpen.get(), fromMemory.data(), sizeof(FlatVertex) * count), 0);
    }
}

}  // namespace
