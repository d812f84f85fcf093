// A folder of the test process's own for the files its tests write. ctest
// runs tests two at a time, each in a process of its own: two tests writing
// one fixed path would read each other's half-written files.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

struct TestFolderOwner {
    std::string path;  // ends in '/'
    TestFolderOwner() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ondrake-test.XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern + "/";
    }
    ~TestFolderOwner() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};

// The folder, made on first use and removed when the process ends; empty if
// it could not be made (the file writes then fail, and their tests with them).
inline const std::string& TestFolder() {
    static const TestFolderOwner owner;
    return owner.path;
}
