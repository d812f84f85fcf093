// A file's bytes mapped read-only into memory, so that the model is read
// where the system already keeps it rather than from a copy: the pages come
// from the file cache, and those already read can be handed back while the
// rest is still being read. mmap here, a file mapping object and a view of
// it on Windows.
#pragma once

#include <cstddef>
#include <utility>

#ifdef _WIN32
using NativeFile = void*;  // a HANDLE
#else
using NativeFile = int;  // a file descriptor
#endif

// Owns one mapping; empty (no data, size 0) when nothing is mapped. A
// mapping assigned over goes to the moved-from side, which unmaps it.
struct MappedFile {
    const unsigned char* data = nullptr;
    size_t size = 0;

    MappedFile() = default;
    MappedFile(MappedFile&& other) noexcept { *this = std::move(other); }
    MappedFile& operator=(MappedFile&& other) noexcept {
        std::swap(data, other.data);
        std::swap(size, other.size);
        return *this;
    }
    ~MappedFile();
};

// Opens path for reading; false when it cannot be opened.
bool OpenForReading(const char* path, NativeFile& file);
void CloseFile(NativeFile file);

// Maps the first bytes of an open file, at most limit of them (fewer when
// the file is shorter; none of an empty file). False when the file is no
// regular file or there is no room to map it. The file may be closed while
// the mapping lives on.
bool MapFile(NativeFile file, size_t limit, MappedFile& mapped);

// Drops the mapped pages that lie wholly before at from this process's
// memory; they stay mapped and are read from the file again if touched.
// Nothing happens for a pointer outside the mapping.
void ReleaseMappedBefore(const MappedFile& mapped, const unsigned char* at);
