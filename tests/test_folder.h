// A folder of the test process's own for the files its tests write. ctest
// runs tests two at a time, each in a process of its own: two tests writing
// one fixed path would read each other's half-written files.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

struct TestFolderOwner {
    std::string path;  // ends in '/'
    TestFolderOwner() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ondrake-test.XXXXXX").string();
        // Without it the tests would write relative paths that every test
        // process shares.
        if (!mkdtemp(pattern.data())) {
            std::perror(pattern.c_str());
            std::abort();
        }
        path = pattern + "/";
    }
    ~TestFolderOwner() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

// The folder, made on first use and removed when the process ends.
inline const std::string& TestFolder() {
    static const TestFolderOwner owner;
    return owner.path;
}
