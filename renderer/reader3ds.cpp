#include "reader3ds.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr int kChunkHeader = 6;

// Arrays whose size comes from the file are allocated without throwing: the
// renderer has no exception handling, and a failed allocation just loses
// that list.
template <class T>
std::unique_ptr<T[]> NewArray(int count) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[static_cast<size_t>(count)]());
}

// Reads a count word and returns how many whole records of recordSize bytes
// the rest of the chunk holds, at most that count. A short chunk keeps the
// records it has.
int ReadRecordCount(ModelFile& file, uint16_t id, int chunkStart, int end, int recordSize) {
    int count = end - file.pos >= 2 ? ReadU16(file) : 0;
    int room = (end - file.pos) / recordSize;
    if (count > room) {
        std::fprintf(stderr, "chunk 0x%04x at %d: %d records but room for %d\n", id, chunkStart, count,
                     room);
        return room;
    }
    return count;
}

void ReportNoMemory(uint16_t id, int chunkStart) {
    std::fprintf(stderr, "chunk 0x%04x at %d: out of memory, skipped\n", id, chunkStart);
}

bool ReadVertexList(ModelFile& file, int chunkStart, int end, MeshRecord& mesh) {
    int count = ReadRecordCount(file, 0x4110, chunkStart, end, 12);
    auto vertices = NewArray<float>(count * 3);
    if (!vertices) {
        ReportNoMemory(0x4110, chunkStart);
        return true;
    }
    for (int i = 0; i < count * 3; ++i) vertices[i] = ReadF32(file);
    mesh.vertices = std::move(vertices);
    mesh.vertexCount = count;
    return true;
}

bool ReadMappingList(ModelFile& file, int chunkStart, int end, MeshRecord& mesh) {
    int count = ReadRecordCount(file, 0x4140, chunkStart, end, 8);
    auto texCoords = NewArray<float>(count * 2);
    if (!texCoords) {
        ReportNoMemory(0x4140, chunkStart);
        return true;
    }
    for (int i = 0; i < count; ++i) {
        texCoords[2 * i] = ReadF32(file);
        texCoords[2 * i + 1] = static_cast<float>(1.0 - static_cast<double>(ReadF32(file)));
    }
    mesh.texCoords = std::move(texCoords);
    mesh.texCoordCount = count;
    return true;
}

bool ReadFaceList(ModelFile& file, int chunkStart, int end, MeshRecord& mesh) {
    int count = ReadRecordCount(file, 0x4120, chunkStart, end, 8);
    auto faces = NewArray<int>(count * 3);
    if (!faces) {
        ReportNoMemory(0x4120, chunkStart);
        return true;
    }
    for (int f = 0; f < count; ++f) {
        faces[3 * f] = ReadU16(file);
        faces[3 * f + 1] = ReadU16(file);
        faces[3 * f + 2] = ReadU16(file);
        ReadU16(file);  // edge visibility flags
    }
    mesh.faces = std::move(faces);
    mesh.faceCount = count;
    // Masks of an earlier face list belong to that list and may be shorter.
    mesh.smoothingGroups.reset();
    if (end > file.pos) WalkChunks(file, end - file.pos, OnFaceSubChunk, &mesh);
    return true;
}

}  // namespace

uint16_t ReadU16(ModelFile& file) {
    if (file.size - file.pos < 2) {
        file.pos = file.size;
        return 0;
    }
    const unsigned char* p = file.data + file.pos;
    file.pos += 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t ReadU32(ModelFile& file) {
    if (file.size - file.pos < 4) {
        file.pos = file.size;
        return 0;
    }
    const unsigned char* p = file.data + file.pos;
    file.pos += 4;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

float ReadF32(ModelFile& file) {
    uint32_t bits = ReadU32(file);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int ReadChunk(ModelFile& file, int end, ChunkHandler handler, void* user) {
    int start = file.pos;
    uint16_t id = ReadU16(file);
    int32_t length = static_cast<int32_t>(ReadU32(file));
    int chunkEnd;
    if (length < kChunkHeader) {
        std::fprintf(stderr, "chunk 0x%04x at %d: length %d below 6, cut at %d\n", id, start, length, end);
        chunkEnd = end;
    } else if (length > end - start) {
        std::fprintf(stderr, "chunk 0x%04x at %d: length %d runs past %d, cut there\n", id, start, length,
                     end);
        chunkEnd = end;
    } else {
        chunkEnd = start + length;
    }
    handler(file, id, chunkEnd - file.pos, user);
    file.pos = chunkEnd;
    return chunkEnd - start;
}

int WalkChunks(ModelFile& file, int length, ChunkHandler handler, void* user) {
    int end = file.pos + length;
    int consumed = 0;
    // Fewer than 6 bytes cannot hold a chunk header; they are skipped.
    while (end - file.pos >= kChunkHeader) consumed += ReadChunk(file, end, handler, user);
    file.pos = end;
    if (consumed != length) std::fprintf(stderr, "expected %d bytes but read %d\n", length, consumed);
    return consumed;
}

int SkipName(ModelFile& file, int end) {
    int start = file.pos;
    while (file.pos < end) {
        if (file.data[file.pos++] == 0) break;
    }
    return file.pos - start;
}

bool OnMainChunk(ModelFile& file, uint16_t id, int bodyLength, void* scene) {
    if (id != 0x3D3D) return false;
    WalkChunks(file, bodyLength, OnEditorChunk, scene);
    return true;
}

bool OnEditorChunk(ModelFile& file, uint16_t id, int bodyLength, void* scene) {
    if (id != 0x4000) return false;
    int n = SkipName(file, file.pos + bodyLength);
    if (n == 0 || file.data[file.pos - 1] != 0)
        std::fprintf(stderr, "chunk 0x4000 at %d: name without its zero byte\n", file.pos - n - kChunkHeader);
    WalkChunks(file, bodyLength - n, OnObjectChunk, scene);
    return true;
}

bool OnObjectChunk(ModelFile& file, uint16_t id, int bodyLength, void* scene) {
    if (id != 0x4100) return false;
    auto& meshes = static_cast<ModelScene*>(scene)->meshes;
    meshes.emplace_back();
    MeshRecord& mesh = meshes.back();
    int chunkStart = file.pos - kChunkHeader;
    WalkChunks(file, bodyLength, OnMeshChunk, &mesh);
    // Mesh preparation skips such faces; the file's problem is told here.
    int broken = 0;
    for (int i = 0; mesh.faces && i < mesh.faceCount; ++i)
        if (std::max({mesh.faces[3 * i], mesh.faces[3 * i + 1], mesh.faces[3 * i + 2]}) >= mesh.vertexCount) ++broken;
    if (broken > 0)
        std::fprintf(stderr, "chunk 0x4100 at %d: %d faces name vertices past its %d, skipped\n", chunkStart, broken,
                     mesh.vertexCount);
    return true;
}

bool OnMeshChunk(ModelFile& file, uint16_t id, int bodyLength, void* user) {
    auto& mesh = *static_cast<MeshRecord*>(user);
    int chunkStart = file.pos - kChunkHeader;
    int end = file.pos + bodyLength;
    switch (id) {
        case 0x4110: return ReadVertexList(file, chunkStart, end, mesh);
        case 0x4140: return ReadMappingList(file, chunkStart, end, mesh);
        case 0x4120: return ReadFaceList(file, chunkStart, end, mesh);
        default: return false;
    }
}

bool OnFaceSubChunk(ModelFile& file, uint16_t id, int bodyLength, void* user) {
    if (id != 0x4150) return false;
    auto& mesh = *static_cast<MeshRecord*>(user);
    auto masks = NewArray<uint32_t>(mesh.faceCount);
    if (!masks) {
        ReportNoMemory(id, file.pos - kChunkHeader);
        return true;
    }
    // The count is the face list's; masks the chunk lacks stay 0 (flat).
    int room = bodyLength / 4;
    if (room < mesh.faceCount)
        std::fprintf(stderr, "chunk 0x4150 at %d: %d records but room for %d\n", file.pos - kChunkHeader,
                     mesh.faceCount, room);
    int count = room < mesh.faceCount ? room : mesh.faceCount;
    for (int f = 0; f < count; ++f) masks[f] = ReadU32(file);
    mesh.smoothingGroups = std::move(masks);
    return true;
}

bool ParseScene3ds(const unsigned char* data, size_t size, ModelScene& scene) {
    ModelFile file;
    file.data = data;
    file.size = static_cast<int>(size < INT_MAX ? size : INT_MAX);
    if (file.size < kChunkHeader || ReadU16(file) != 0x4D4D) {
        std::fprintf(stderr, "wrong main chunk\n");
        return false;
    }
    int32_t length = static_cast<int32_t>(ReadU32(file));
    int end = length;
    if (length < kChunkHeader) {
        std::fprintf(stderr, "chunk 0x4d4d at 0: length %d below 6, cut at %d\n", length, file.size);
        end = file.size;
    } else if (length > file.size) {
        std::fprintf(stderr, "chunk 0x4d4d at 0: length %d runs past %d, cut there\n", length, file.size);
        end = file.size;
    }
    file.size = end;  // bytes after the main chunk are not part of the model
    WalkChunks(file, end - kChunkHeader, OnMainChunk, &scene);
    return true;
}

std::unique_ptr<FlatVertex[]> ParseModel3ds(const unsigned char* data, size_t size, int& vertexCount) {
    ModelScene scene;
    if (!ParseScene3ds(data, size, scene)) return nullptr;
    return FlattenScene(scene, vertexCount);
}

namespace {

struct FileBytes {
    std::unique_ptr<unsigned char[]> data;
    size_t size = 0;
};

// Reads the main chunk of an open file: as many bytes as its header claims
// (at most INT_MAX, since the length is a signed 32-bit value), or fewer when
// the file ends first or memory runs out.
FileBytes ReadMainChunk(std::FILE* f) {
    FileBytes bytes;
    unsigned char header[kChunkHeader];
    size_t got = std::fread(header, 1, sizeof header, f);
    size_t limit = INT_MAX;
    if (got == sizeof header) {
        ModelFile file{header, kChunkHeader, 2};
        int32_t length = static_cast<int32_t>(ReadU32(file));
        if (length >= kChunkHeader) limit = size_t(length);
    }
    // Start from the file's size where it is known, and grow only if the
    // file delivers more, so a short file that claims a huge length costs
    // only its own size.
    long fileSize = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) fileSize = std::ftell(f);
    std::fseek(f, long(got), SEEK_SET);
    size_t capacity = got;
    bytes.data.reset(new unsigned char[capacity]);
    std::memcpy(bytes.data.get(), header, got);
    // One byte more than the file holds, so that reading it all ends short.
    size_t next = fileSize > long(got) ? size_t(fileSize) + 1 : size_t(1) << 20;
    while (got == capacity && got < limit) {
        if (next > limit) next = limit;
        std::unique_ptr<unsigned char[]> grown(new (std::nothrow) unsigned char[next]);
        if (!grown) {
            std::fprintf(stderr, "out of memory after %d bytes of the model\n", int(got));
            break;
        }
        std::memcpy(grown.get(), bytes.data.get(), got);
        bytes.data = std::move(grown);
        capacity = next;
        got += std::fread(bytes.data.get() + got, 1, capacity - got, f);
        next = capacity * 2;
    }
    bytes.size = got;
    return bytes;
}

}  // namespace

bool LoadScene3ds(const char* path, ModelScene& scene) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::fprintf(stderr, "error open %s file\n", path);
        return false;
    }
    FileBytes bytes = ReadMainChunk(f);
    std::fclose(f);
    return ParseScene3ds(bytes.data.get(), bytes.size, scene);
}

std::unique_ptr<FlatVertex[]> LoadModel3ds(const char* path, int& vertexCount) {
    ModelScene scene;
    // The file's bytes are gone once the scene is read, before the flat
    // array is made.
    if (!LoadScene3ds(path, scene)) return nullptr;
    int count = 0;
    auto model = FlattenScene(scene, count);
    vertexCount = count;
    return model;
}
