// ondrake-release: packs the release zip.
//
//   ondrake-release OUT.zip FILE...   the files under their own names (the
//                                      last part of each path)
//
// Exit status: 0 written, 1 a file could not be read or written, 2 usage.
#include <cstdio>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "zip_file.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ondrake-release OUT.zip FILE...\n");
        return 2;
    }
    std::vector<ZipEntry> entries;
    for (int i = 2; i < argc; ++i) {
        std::string path = argv[i];
        ZipEntry entry{path.substr(path.find_last_of('/') + 1), {}};
        if (!ReadFileBytes(path, entry.bytes)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        entries.push_back(std::move(entry));
    }
    std::vector<uint8_t> zip;
    if (!EncodeZip(entries, zip)) {
        std::fprintf(stderr, "cannot pack %s\n", argv[1]);
        return 1;
    }
    if (!WriteFileBytes(argv[1], zip)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
