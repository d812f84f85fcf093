// The malformed and hostile model files, built with our writer: the
// reader's tests read them in memory, and make_hostile writes them out for
// the hack's end-to-end test.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "fixtures.h"

// A file with one field of one chunk changed: its writer, to find the other
// chunks by, its bytes, and the offset of the chunk changed.
struct Tampered {
    Writer3ds file;
    Bytes bytes;
    size_t chunk;
};

// Two objects, A and B (moved by 10), with the nth chunk of that id given
// another length.
inline Tampered WithLength(uint16_t id, int nth, uint32_t length) {
    Tampered tampered{Objects({Named("A", 0), Named("B", 10)}), {}, 0};
    tampered.bytes = tampered.file.Bytes();
    tampered.chunk = tampered.file.Offset(id, nth);
    Set32(tampered.bytes, tampered.chunk + 2, length);
    return tampered;
}

// TwoTriangles with the record count of its list of that id changed.
inline Tampered WithCount(uint16_t id, uint16_t count) {
    Tampered tampered{Objects({TwoTriangles()}), {}, 0};
    tampered.bytes = tampered.file.Bytes();
    tampered.chunk = tampered.file.Offset(id);
    Set16(tampered.bytes, tampered.chunk + 6, count);
    return tampered;
}

// TwoTriangles with two faces more, naming vertex 4 and vertex 65535 of its
// four.
inline ObjectData FacesPastVertices() {
    ObjectData object = TwoTriangles();
    object.faces = {0, 1, 2, 1, 3, 2, 0, 4, 2, 65535, 0, 1};
    object.smoothing = {1, 1, 1, 1};
    return object;
}

// Its faces, and no vertex list at all.
inline ObjectData FacesWithoutVertices() {
    ObjectData object = FacesPastVertices();
    object.positions.clear();
    return object;
}

// An object whose name fills its chunk without the closing zero byte.
inline Bytes NameWithoutZero() {
    Writer3ds out;
    out.Begin(0x3D3D);
    out.Begin(0x4000);
    out.Raw({'A', 'B', 'C', 'D', 'E'});
    out.End();
    out.End();
    return MainChunk(out.Bytes());
}

// Editor chunks nested 10,000 deep.
inline Bytes DeepNesting() {
    Writer3ds out;
    for (int i = 0; i < 10000; ++i) out.Begin(0x3D3D);
    for (int i = 0; i < 10000; ++i) out.End();
    return MainChunk(out.Bytes());
}

// Every one of them by a file name, with our model cut short and files
// that are no model at all.
inline std::vector<std::pair<std::string, Bytes>> HostileModels() {
    Bytes drake = WriteModel3ds(MakeDrake());
    return {
        {"zero-length.3ds", WithLength(0x4000, 1, 0).bytes},
        {"length-below-six.3ds", WithLength(0x4000, 1, 5).bytes},
        {"negative-length.3ds", WithLength(0x4000, 1, 0x80000000u).bytes},
        {"child-past-parent.3ds", WithLength(0x4100, 0, 100000).bytes},
        {"vertex-count-beyond-chunk.3ds", WithCount(0x4110, 65535).bytes},
        {"face-count-beyond-chunk.3ds", WithCount(0x4120, 40000).bytes},
        {"faces-past-vertices.3ds", Objects({FacesPastVertices()}).Bytes()},
        {"faces-without-vertices.3ds", Objects({FacesWithoutVertices()}).Bytes()},
        {"name-without-zero.3ds", NameWithoutZero()},
        {"deep-nesting.3ds", DeepNesting()},
        {"truncated.3ds", Bytes(drake.begin(), drake.begin() + 5000)},
        {"header-only.3ds", Bytes(drake.begin(), drake.begin() + 6)},
        {"three-bytes.3ds", Bytes(drake.begin(), drake.begin() + 3)},
        {"empty.3ds", {}},
        {"text.3ds", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'd', 'e', 'l', '\n'}},
    };
}
