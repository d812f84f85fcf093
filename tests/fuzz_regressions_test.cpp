// Inputs the fuzzer once found faults with, kept as hex text, one file each.
// Each must parse without a sanitizer report, and the parse must not depend
// on anything but the bytes.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstring>
#include <fstream>
#include <string>

#include "fixtures.h"

namespace {

TEST(FuzzRegressions, ParseCleanlyAndTheSameEveryTime) {
    DIR* listing = opendir(ONDRAKE_REGRESSIONS_DIR);
    ASSERT_TRUE(listing);
    int inputs = 0;
    while (dirent* entry = readdir(listing)) {
        std::string name = entry->d_name;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".hex") != 0) continue;
        SCOPED_TRACE(name);
        Bytes bytes = ReadHex(std::string(ONDRAKE_REGRESSIONS_DIR) + "/" + name);
        testing::internal::CaptureStderr();
        int first = -1, second = -1;
        auto a = ParseModel3ds(bytes.data(), bytes.size(), first);
        auto b = ParseModel3ds(bytes.data(), bytes.size(), second);
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(bool(a), bool(b));
        ASSERT_EQ(first, second);
        if (a) {
            EXPECT_EQ(std::memcmp(a.get(), b.get(), sizeof(FlatVertex) * first), 0);
        }
        ++inputs;
    }
    closedir(listing);
    EXPECT_GT(inputs, 0);
}

}  // namespace
