// Writes the fuzzer's seed corpus: small files in every shape the reader
// knows, made with our writer.
#include <cstdio>
#include <string>

#include "writer3ds.h"

namespace {

ObjectData Quad(const char* name, bool mapping, bool smoothing, const char* material) {
    ObjectData object;
    object.name = name;
    object.positions = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    if (mapping) object.mapping = {0, 0, 1, 0, 1, 1, 0, 1};
    object.faces = {0, 1, 2, 0, 2, 3};
    if (smoothing) object.smoothing = {1, 3};
    object.material = material;
    return object;
}

void Save(const std::string& dir, const char* name, const std::vector<unsigned char>& bytes) {
    std::FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    std::string dir = argv[1];
    Save(dir, "plain.3ds", WriteModel3ds({Quad("Plain", false, false, "")}));
    Save(dir, "full.3ds", WriteModel3ds({Quad("Full", true, true, "Scales")}));
    Save(dir, "two.3ds", WriteModel3ds({Quad("A", true, false, ""), Quad("B", false, true, "")}));
    Writer3ds light;
    light.Begin(0x4D4D);
    light.Begin(0x3D3D);
    light.Begin(0x4000);
    light.Name("Lamp");
    light.Begin(0x4600);
    for (int i = 0; i < 3; ++i) light.F32(1.0f);
    light.End();
    light.End();
    light.End();
    light.End();
    Save(dir, "light.3ds", light.Bytes());
    return 0;
}
