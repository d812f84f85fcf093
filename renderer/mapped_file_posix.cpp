#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "mapped_file.h"

MappedFile::~MappedFile() {
    if (data) munmap(const_cast<unsigned char*>(data), size);
}

bool OpenForReading(const char* path, NativeFile& file) {
    file = open(path, O_RDONLY | O_CLOEXEC);
    return file >= 0;
}

void CloseFile(NativeFile file) { close(file); }

bool MapFile(NativeFile file, size_t limit, MappedFile& mapped) {
    mapped = MappedFile();
    struct stat info;
    if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    size_t size = uint64_t(info.st_size) < limit ? size_t(info.st_size) : limit;
    if (size == 0) return true;  // mmap maps no empty range
    void* at = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file, 0);
    if (at == MAP_FAILED) return false;
    mapped.data = static_cast<const unsigned char*>(at);
    mapped.size = size;
    return true;
}

void ReleaseMappedBefore(const MappedFile& mapped, const unsigned char* at) {
    if (!mapped.data || at <= mapped.data || at > mapped.data + mapped.size) return;
    size_t page = size_t(sysconf(_SC_PAGESIZE));
    size_t length = size_t(at - mapped.data) / page * page;
    if (length > 0) madvise(const_cast<unsigned char*>(mapped.data), length, MADV_DONTNEED);
}
