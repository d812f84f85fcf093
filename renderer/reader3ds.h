// The 3D Studio reader: walks the chunk tree of a .3ds file and finds its
// triangle meshes (positions, mapping coordinates, faces, smoothing groups).
//
// The main chunk is mapped into memory, not copied, and every read goes
// through a bounded cursor, so a truncated or hostile file can never be
// over-read: each chunk is cut at its parent's end (or the file's end), and
// each count is checked against the bytes its chunk really holds. The lists
// stay where they lie in the file until mesh preparation reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "mesh.h"

// The main chunk's bytes with a read cursor; offsets are file offsets.
struct ModelFile {
    const unsigned char* data = nullptr;
    int size = 0;  // a chunk length is a signed 32-bit value, so this fits
    int pos = 0;
};

// Little-endian reads; past the end of the data they return 0.
uint16_t ReadU16(ModelFile& file);
uint32_t ReadU32(ModelFile& file);

// Called with the cursor at the start of a chunk body of bodyLength bytes,
// which lies wholly inside the data. Returns true when it took the chunk,
// false (having read nothing) to decline it. Either way the walk goes on at
// the chunk's end.
using ChunkHandler = bool (*)(ModelFile& file, uint16_t id, int bodyLength, void* user);

// Reads one chunk header at the cursor and offers the body to the handler.
// A length below 6, or one reaching past end, is cut at end (with a message).
// Returns the bytes walked, header included.
int ReadChunk(ModelFile& file, int end, ChunkHandler handler, void* user);

// Reads consecutive chunks over the next length bytes (which must lie inside
// the data). Returns the bytes walked.
int WalkChunks(ModelFile& file, int length, ChunkHandler handler, void* user);

// Skips a zero-terminated name that must end before end; returns the bytes
// skipped, the zero included (all bytes up to end when there is no zero).
int SkipName(ModelFile& file, int end);

bool OnMainChunk(ModelFile& file, uint16_t id, int bodyLength, void* scene);
bool OnEditorChunk(ModelFile& file, uint16_t id, int bodyLength, void* scene);
bool OnObjectChunk(ModelFile& file, uint16_t id, int bodyLength, void* scene);
bool OnMeshChunk(ModelFile& file, uint16_t id, int bodyLength, void* mesh);
bool OnFaceSubChunk(ModelFile& file, uint16_t id, int bodyLength, void* mesh);

// Walks a model held in memory (the whole file or any prefix of it) into
// scene, whose lists then point into data: data must outlive the scene.
// Returns false when the data does not start with a main chunk.
bool ParseScene3ds(const unsigned char* data, size_t size, ModelScene& scene);

// Parses a model held in memory (the whole file or any prefix of it).
// Returns null when the data does not start with a main chunk; otherwise the
// flat triangle array (possibly empty) with its vertex count stored.
std::unique_ptr<FlatVertex[]> ParseModel3ds(const unsigned char* data, size_t size, int& vertexCount);

// Reads the model file at path into scene, which keeps the file mapped.
// Returns false when the file cannot be opened or mapped or is no 3DS file.
bool LoadScene3ds(const char* path, ModelScene& scene);

// Reads the model file at path. Returns null, leaving vertexCount untouched,
// when the file cannot be opened or mapped ("error open PATH file"), or is
// no 3DS file ("wrong main chunk").
std::unique_ptr<FlatVertex[]> LoadModel3ds(const char* path, int& vertexCount);

// The same for a file already open for reading, which stays open: so a
// caller can check what it opened (a regular file, say) and read that very
// file. name is for the messages. A file that is no regular file cannot be
// mapped: "error open NAME file".
std::unique_ptr<FlatVertex[]> LoadModel3dsFromFile(NativeFile file, const char* name, int& vertexCount);
