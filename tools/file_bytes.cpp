#include "file_bytes.h"

#include <cstdio>

bool WriteFileBytes(const std::string& path, const void* bytes, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    // An empty file is written too; fwrite must not be handed its null data.
    bool written = size == 0 || std::fwrite(bytes, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteFileBytes(path, bytes.data(), bytes.size());
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
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
