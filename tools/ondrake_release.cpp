// ondrake-release: packs the release zip.
//
//   ondrake-release OUT.zip FILE...   the files under their own names (the
//                                      last part of each path)
//
// Exit status: 0 written, 1 a file could not be read or written, 2 usage.
#include <cstdio>
#include <string>

#include "bitmap_file.h"
#include "zip_file.h"

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.clear();
    uint8_t buffer[65536];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + read);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ondrake-release OUT.zip FILE...\n");
        return 2;
    }
    std::vector<ZipEntry> entries;
    for (int i = 2; i < argc; ++i) {
        std::string path = argv[i];
        ZipEntry entry{path.substr(path.find_last_of('/') + 1), {}};
        if (!ReadFile(path, entry.bytes)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        entries.push_back(std::move(entry));
    }
    if (!WriteFileBytes(argv[1], EncodeZip(entries))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
