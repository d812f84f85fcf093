// Writes the malformed and hostile model files that the reader's tests build
// in memory, and the fuzzer's regression inputs, as files for the hack to
// open, and says how many it wrote:
//         make_hostile OUT_DIR REGRESSIONS_DIR
// or a model of about MEGABYTES million bytes, whose reading takes a while:
//         make_hostile large FILE MEGABYTES
#include <dirent.h>

#include <cstdio>
#include <cstdlib>

#include <string>

#include "hostile_models.h"

namespace {

// An editor block of millions of empty chunks of a kind the reader does not
// know: it walks and skips every one of them (a long read, since the file
// is mapped rather than copied, and each header is read where it lies), and
// nothing is left to draw.
Bytes Large(int megabytes) {
    const unsigned char empty[6] = {0xFF, 0xAF, 6, 0, 0, 0};  // id 0xAFFF, length 6
    Bytes chunks;
    chunks.reserve(size_t(megabytes) * 1000000 + sizeof empty);
    while (chunks.size() < size_t(megabytes) * 1000000) chunks.insert(chunks.end(), empty, empty + sizeof empty);
    Writer3ds file;
    file.Begin(0x4D4D);
    file.Begin(0x3D3D);
    file.Raw(chunks);
    file.End();
    file.End();
    return file.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "large") return WriteFileBytes(argv[2], Large(std::atoi(argv[3]))) ? 0 : 1;
    if (argc != 3) return 2;
    const std::string dir = argv[1];
    bool ok = true;
    int written = 0;
    auto file = [&](const std::string& name, const Bytes& bytes) {
        bool wrote = WriteFileBytes(dir + "/" + name, bytes);
        written += wrote;
        ok = wrote && ok;
    };

    for (const auto& [name, bytes] : HostileModels()) file(name, bytes);

    if (DIR* listing = opendir(argv[2])) {
        while (dirent* entry = readdir(listing)) {
            std::string hex = entry->d_name;
            if (hex.size() > 4 && hex.compare(hex.size() - 4, 4, ".hex") == 0)
                file("fuzz-" + hex.substr(0, hex.size() - 4) + ".3ds", ReadHex(std::string(argv[2]) + "/" + hex));
        }
        closedir(listing);
    } else {
        ok = false;
    }
    std::printf("%d models\n", written);
    return ok ? 0 : 1;
}
