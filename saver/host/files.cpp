#include "files.h"

#include <windows.h>

#include "code_pages.h"

namespace {

UniqueHandle inputFile;  // file number 1

}  // namespace

Step OpenForInput(const std::string& path) {
    CloseInput();
    inputFile.Reset(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return {bool(inputFile)};
}

void CloseInput() { inputFile.Reset(); }

Step MakeDirectory(const std::string& path) {
    return {CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr) != FALSE};
}

Step CopyFileTo(const std::string& from, const std::string& to) {
    return {CopyFileW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), FALSE) != FALSE};
}
