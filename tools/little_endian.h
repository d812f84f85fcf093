// Little-endian fields of the file formats our tools write (3DS, BMP, ICO,
// zip): appended, set in place, and read back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

inline void Set16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

inline void Set32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    Set16(bytes, at, value & 0xFFFF);
    Set16(bytes, at + 2, value >> 16);
}

inline uint16_t Get16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline uint32_t Get32(const std::vector<uint8_t>& bytes, size_t at) {
    return Get16(bytes, at) | uint32_t(Get16(bytes, at + 2)) << 16;
}
