#include "zip_file.h"

#include <zlib.h>

#include "little_endian.h"

namespace {

// 1 January 2026, 00:00:00, in the archive's MS-DOS date and time.
constexpr uint16_t kDosDate = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr uint16_t kDosTime = 0;
constexpr uint16_t kVersion = 20;  // 2.0: deflate
constexpr uint16_t kDeflated = 8;

bool Deflate(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& out) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    out.resize(deflateBound(&stream, static_cast<uLong>(bytes.size())));
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return result == Z_STREAM_END;
}

// The fields a local header and its central directory entry share.
void PutCommon(std::vector<uint8_t>& out, uint32_t crc, uint32_t packed, uint32_t size, size_t nameLength) {
    Put16(out, kVersion);  // needed to extract
    Put16(out, 0);         // flags
    Put16(out, kDeflated);
    Put16(out, kDosTime);
    Put16(out, kDosDate);
    Put32(out, crc);
    Put32(out, packed);
    Put32(out, size);
    Put16(out, static_cast<uint32_t>(nameLength));
    Put16(out, 0);  // no extra field
}

}  // namespace

bool EncodeZip(const std::vector<ZipEntry>& entries, std::vector<uint8_t>& out) {
    std::vector<uint8_t> directory, packed;
    out.clear();
    for (const ZipEntry& entry : entries) {
        if (!Deflate(entry.bytes, packed)) return false;
        uint32_t crc = static_cast<uint32_t>(crc32(0, entry.bytes.data(), static_cast<uInt>(entry.bytes.size())));
        uint32_t offset = static_cast<uint32_t>(out.size());

        Put32(out, 0x04034b50);
        PutCommon(out, crc, static_cast<uint32_t>(packed.size()), static_cast<uint32_t>(entry.bytes.size()),
                  entry.name.size());
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        out.insert(out.end(), packed.begin(), packed.end());

        Put32(directory, 0x02014b50);
        Put16(directory, kVersion);  // made by: MS-DOS attributes
        PutCommon(directory, crc, static_cast<uint32_t>(packed.size()), static_cast<uint32_t>(entry.bytes.size()),
                  entry.name.size());
        Put16(directory, 0);  // comment
        Put16(directory, 0);  // disk
        Put16(directory, 0);  // internal attributes
        Put32(directory, 0);  // external attributes
        Put32(directory, offset);
        directory.insert(directory.end(), entry.name.begin(), entry.name.end());
    }
    uint32_t directoryOffset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put32(out, static_cast<uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);  // comment
    return true;
}
