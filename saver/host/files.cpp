#include "files.h"

#include <windows.h>

namespace {

UniqueHandle inputFile;  // file number 1

}  // namespace

Step OpenForInput(const std::string& path) {
    CloseInput();
    inputFile.Reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return {bool(inputFile)};
}

void CloseInput() { inputFile.Reset(); }

Step MakeDirectory(const std::string& path) { return {CreateDirectoryA(path.c_str(), nullptr) != FALSE}; }

Step CopyFileTo(const std::string& from, const std::string& to) {
    return {CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE};
}
