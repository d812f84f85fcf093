// Whole files in and out, for our tools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// False when the file cannot be written whole.
bool WriteFileBytes(const std::string& path, const void* bytes, size_t size);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// False when the file cannot be read whole.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes);
