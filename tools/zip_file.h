// Zip archives as the release is packed: each file deflated under its own
// name, all dated 1 January 2026, no other metadata, so the same files give
// the same bytes on every build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ZipEntry {
    std::string name;  // as it appears in the archive
    std::vector<uint8_t> bytes;
};

// False when zlib fails to deflate an entry.
bool EncodeZip(const std::vector<ZipEntry>& entries, std::vector<uint8_t>& out);
