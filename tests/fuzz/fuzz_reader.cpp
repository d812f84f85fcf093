// libFuzzer entry: any bytes as a model file, read and flattened in memory.
#include <cstddef>
#include <cstdint>

#include "reader3ds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int vertexCount = 0;
    auto model = ParseModel3ds(data, size, vertexCount);
    // Touch every vertex so a short array shows up as an overflow.
    float sum = 0;
    for (int v = 0; model && v < vertexCount; ++v) sum += model[v].normal[0] + model[v].texCoord[1];
    volatile float sink = sum;
    (void)sink;
    return 0;
}
