// Writes the malformed and hostile model files that the reader's tests build
// in memory, and the fuzzer's regression inputs, as files for the hack to
// open:   make_hostile OUT_DIR REGRESSIONS_DIR
// or a model of about MEGABYTES million bytes, whose reading takes a while:
//         make_hostile large FILE MEGABYTES
#include <dirent.h>

#include <cstdlib>

#include <string>

#include "drake.h"
#include "fixtures.h"

namespace {

// One chunk's length set to length, in a file of two objects.
Bytes WithLength(uint16_t id, int nth, uint32_t length) {
    Writer3ds file = Objects({Named("A", 0), Named("B", 10)});
    Bytes bytes = file.Bytes();
    Set32(bytes, file.Offset(id, nth) + 2, length);
    return bytes;
}

// One record count set to count.
Bytes WithCount(uint16_t id, uint16_t count) {
    Writer3ds file = Objects({TwoTriangles()});
    Bytes bytes = file.Bytes();
    Set16(bytes, file.Offset(id) + 6, count);
    return bytes;
}

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
    auto file = [&](const std::string& name, const Bytes& bytes) { ok = WriteFileBytes(dir + "/" + name, bytes) && ok; };

    file("zero-length.3ds", WithLength(0x4000, 1, 0));
    file("length-below-six.3ds", WithLength(0x4000, 1, 5));
    file("negative-length.3ds", WithLength(0x4000, 1, 0x80000000u));
    file("child-past-parent.3ds", WithLength(0x4100, 0, 100000));
    file("vertex-count-beyond-chunk.3ds", WithCount(0x4110, 65535));
    file("face-count-beyond-chunk.3ds", WithCount(0x4120, 40000));

    ObjectData faces = TwoTriangles();
    faces.faces = {0, 1, 2, 1, 3, 2, 0, 4, 2, 65535, 0, 1};
    faces.smoothing = {1, 1, 1, 1};
    file("faces-past-vertices.3ds", Objects({faces}).Bytes());
    faces.positions.clear();
    file("faces-without-vertices.3ds", Objects({faces}).Bytes());

    Writer3ds name;
    name.Begin(0x3D3D);
    name.Begin(0x4000);
    name.Raw({'A', 'B', 'C', 'D', 'E'});
    name.End();
    name.End();
    file("name-without-zero.3ds", MainChunk(name.Bytes()));

    Writer3ds deep;
    for (int i = 0; i < 10000; ++i) deep.Begin(0x3D3D);
    for (int i = 0; i < 10000; ++i) deep.End();
    file("deep-nesting.3ds", MainChunk(deep.Bytes()));

    Bytes drake = WriteModel3ds(MakeDrake());
    file("truncated.3ds", Bytes(drake.begin(), drake.begin() + 5000));
    file("header-only.3ds", Bytes(drake.begin(), drake.begin() + 6));
    file("three-bytes.3ds", Bytes(drake.begin(), drake.begin() + 3));
    file("empty.3ds", {});
    file("text.3ds", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'd', 'e', 'l', '\n'});

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
    return ok ? 0 : 1;
}
