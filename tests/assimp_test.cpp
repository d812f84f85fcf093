// Another project's 3DS test files (Debian's assimp-testmodels): every file
// reads without a crash or sanitizer report, and gives the mesh and
// triangle counts that an independent chunk walk gave when they were
// counted by hand: one mesh per 0x4100 chunk, faces as stored.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstdlib>
#include <map>
#include <string>

#include "reader3ds.h"

namespace {

const char* const kDirs[] = {"/usr/share/assimp/models/3DS/", "/usr/share/assimp/models/invalid/"};

struct Counts {
    size_t meshes;
    int triangles;
};

// Files not listed here are no 3DS files (pictures, text, other formats,
// an empty .3ds): the reader must call them a wrong main chunk.
const std::map<std::string, Counts> kCounted = {
    {"CameraRollAnim.3ds", {1, 12}},
    {"CameraRollAnimWithChildObject.3ds", {2, 24}},
    {"RotatingCube.3DS", {1, 12}},
    {"TargetCameraAnim.3ds", {1, 12}},
    {"cube_with_diffuse_texture.3DS", {1, 12}},
    {"cube_with_specular_texture.3DS", {1, 12}},
    {"cubes_with_alpha.3DS", {5, 60}},
    {"fels.3ds", {1, 768}},
    {"test1.3ds", {9, 108}},
    {"testFormatDetection", {1, 1368}},
};

TEST(AssimpModels, ReadWithTheCountsOfAnIndependentWalk) {
    size_t models = 0, others = 0;
    for (const char* dir : kDirs) {
        DIR* listing = opendir(dir);
        if (!listing) {
            // A skip only for someone who knowingly runs a part of the suite.
            if (const char* allow = getenv("ONDRAKE_ALLOW_SKIPS"); allow && std::string(allow) == "1")
                GTEST_SKIP() << dir << " is missing: install Debian's assimp-testmodels";
            FAIL() << dir << " is missing: install Debian's assimp-testmodels";
        }
        while (dirent* entry = readdir(listing)) {
            std::string name = entry->d_name;
            std::string path = dir + name;
            if (name == "." || name == "..") continue;
            SCOPED_TRACE(path);
            testing::internal::CaptureStderr();
            ModelScene scene;
            bool isModel = LoadScene3ds(path.c_str(), scene);
            size_t meshes = scene.meshes.size();
            int vertexCount = -1;
            auto model = FlattenScene(scene, vertexCount);
            std::string err = testing::internal::GetCapturedStderr();
            auto counted = kCounted.find(name);
            if (counted == kCounted.end() || dir != kDirs[0]) {
                EXPECT_FALSE(isModel);
                EXPECT_EQ(err, "wrong main chunk\n");
                ++others;
                continue;
            }
            EXPECT_TRUE(isModel);
            EXPECT_EQ(meshes, counted->second.meshes);
            EXPECT_EQ(vertexCount, 3 * counted->second.triangles);
            ++models;
        }
        closedir(listing);
    }
    EXPECT_EQ(models, kCounted.size());
    EXPECT_GT(others, 0u);
}

}  // namespace
