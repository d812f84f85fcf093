#include "reader3ds.h"

#include <climits>
#include <cstdio>

namespace {

constexpr int kChunkHeader = 6;

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

// The lists are kept where they lie in the file's bytes: only their place
// and their count are taken here.
bool ReadVertexList(ModelFile& file, int chunkStart, int end, MeshRecord& mesh) {
    mesh.vertexCount = ReadRecordCount(file, 0x4110, chunkStart, end, 12);
    mesh.vertices.bytes = file.data + file.pos;
    return true;
}

bool ReadMappingList(ModelFile& file, int chunkStart, int end, MeshRecord& mesh) {
    mesh.texCoordCount = ReadRecordCount(file, 0x4140, chunkStart, end, 8);
    mesh.texCoords.bytes = file.data + file.pos;
    return true;
}

bool ReadFaceList(ModelFile& file, int chunkStart, int end, MeshRecord& mesh) {
    mesh.faceCount = ReadRecordCount(file, 0x4120, chunkStart, end, 8);
    mesh.faces.bytes = file.data + file.pos;
    file.pos += 8 * mesh.faceCount;
    // Masks of an earlier face list belong to that list and may be shorter.
    mesh.smoothingGroups = MaskList();
    if (end > file.pos) WalkChunks(file, end - file.pos, OnFaceSubChunk, &mesh);
    return true;
}

}  // namespace

uint16_t ReadU16(ModelFile& file) {
    if (file.size - file.pos < 2) {
        file.pos = file.size;
        return 0;
    }
    file.pos += 2;
    return LoadU16(file.data + file.pos - 2);
}

uint32_t ReadU32(ModelFile& file) {
    if (file.size - file.pos < 4) {
        file.pos = file.size;
        return 0;
    }
    file.pos += 4;
    return LoadU32(file.data + file.pos - 4);
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
    int broken = CountBrokenFaces(mesh);
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
    // The count is the face list's; masks the chunk lacks read 0 (flat).
    int room = bodyLength / 4;
    if (room < mesh.faceCount)
        std::fprintf(stderr, "chunk 0x4150 at %d: %d records but room for %d\n", file.pos - kChunkHeader,
                     mesh.faceCount, room);
    mesh.smoothingGroups.bytes = file.data + file.pos;
    mesh.smoothingGroups.count = room < mesh.faceCount ? room : mesh.faceCount;
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

// Maps the main chunk of an open file: as many bytes as its header claims
// (at most INT_MAX, since the length is a signed 32-bit value), or fewer
// when the file ends first, so that bytes after the model, however many,
// take no room.
bool MapMainChunk(NativeFile file, MappedFile& mapped) {
    MappedFile header;
    if (!MapFile(file, kChunkHeader, header)) return false;
    size_t limit = INT_MAX;
    if (header.size == kChunkHeader) {
        int32_t length = static_cast<int32_t>(LoadU32(header.data + 2));
        if (length >= kChunkHeader) limit = size_t(length);
    }
    return MapFile(file, limit, mapped);
}

bool ReadScene(NativeFile file, const char* name, ModelScene& scene) {
    if (!MapMainChunk(file, scene.source)) {
        // A file that opens but cannot be read as a whole (a folder, say)
        // counts as one that cannot be opened: the reader has three messages.
        std::fprintf(stderr, "error open %s file\n", name);
        return false;
    }
    return ParseScene3ds(scene.source.data, scene.source.size, scene);
}

}  // namespace

bool LoadScene3ds(const char* path, ModelScene& scene) {
    NativeFile file;
    if (!OpenForReading(path, file)) {
        std::fprintf(stderr, "error open %s file\n", path);
        return false;
    }
    // The mapping outlives the file's handle.
    bool isModel = ReadScene(file, path, scene);
    CloseFile(file);
    return isModel;
}

std::unique_ptr<FlatVertex[]> LoadModel3ds(const char* path, int& vertexCount) {
    ModelScene scene;
    if (!LoadScene3ds(path, scene)) return nullptr;
    return FlattenScene(scene, vertexCount);
}

std::unique_ptr<FlatVertex[]> LoadModel3dsFromFile(NativeFile file, const char* name, int& vertexCount) {
    ModelScene scene;
    if (!ReadScene(file, name, scene)) return nullptr;
    return FlattenScene(scene, vertexCount);
}
