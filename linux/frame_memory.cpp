#include "frame_memory.h"

#include <malloc.h>

namespace {

// Freed memory the heap keeps, in bytes: far more than a frame frees.
constexpr int kKeptBytes = 256 << 20;
// Blocks up to this size come from the heap, not from mappings of their
// own that are unmapped when freed: the most the C library allows on
// 64-bit systems.
constexpr int kLargestHeapBlock = 32 << 20;

}  // namespace

void KeepFrameMemory() {
    malloc_trim(0);
    mallopt(M_TRIM_THRESHOLD, kKeptBytes);
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
}
