#include <windows.h>

#include <cstdint>

#include "mapped_file.h"

MappedFile::~MappedFile() {
    if (data) UnmapViewOfFile(data);
}

bool OpenForReading(const char* path, NativeFile& file) {
    // The sharing that fopen grants: others may still read and write it.
    file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
}

void CloseFile(NativeFile file) { CloseHandle(file); }

bool MapFile(NativeFile file, size_t limit, MappedFile& mapped) {
    mapped = MappedFile();
    LARGE_INTEGER fileSize;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &fileSize)) return false;
    size_t size = uint64_t(fileSize.QuadPart) < limit ? size_t(fileSize.QuadPart) : limit;
    if (size == 0) return true;  // an empty file has no mapping object
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) return false;
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
    // The view keeps the mapping object alive.
    CloseHandle(mapping);
    if (!view) return false;
    mapped.data = static_cast<const unsigned char*>(view);
    mapped.size = size;
    return true;
}

void ReleaseMappedBefore(const MappedFile& mapped, const unsigned char* at) {
    if (!mapped.data || at <= mapped.data || at > mapped.data + mapped.size) return;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    size_t length = size_t(at - mapped.data) / system.dwPageSize * system.dwPageSize;
    // Unlocking pages that were never locked takes them out of the working
    // set; the call then reports ERROR_NOT_LOCKED, which is the point.
    if (length > 0) VirtualUnlock(const_cast<unsigned char*>(mapped.data), length);
}
