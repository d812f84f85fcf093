#include "writer3ds.h"

#include <cstring>

#include "little_endian.h"

void Writer3ds::Begin(uint16_t id) {
    begun_.emplace_back(id, bytes_.size());
    open_.push_back(bytes_.size());
    U16(id);
    U32(0);
}

void Writer3ds::End() {
    size_t start = open_.back();
    open_.pop_back();
    uint32_t length = static_cast<uint32_t>(bytes_.size() - start);
    Set32(bytes_, start + 2, length);
}

size_t Writer3ds::Offset(uint16_t id, int nth) const {
    for (const auto& chunk : begun_)
        if (chunk.first == id && nth-- == 0) return chunk.second;
    return bytes_.size();
}

void Writer3ds::U16(uint16_t value) { Put16(bytes_, value); }

void Writer3ds::U32(uint32_t value) { Put32(bytes_, value); }

void Writer3ds::F32(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
}

void Writer3ds::Name(const std::string& name) {
    bytes_.insert(bytes_.end(), name.begin(), name.end());
    bytes_.push_back(0);
}

void Writer3ds::Raw(const std::vector<unsigned char>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void WriteObject(Writer3ds& out, const ObjectData& object) {
    out.Begin(0x4000);
    out.Name(object.name);
    out.Begin(0x4100);

    out.Begin(0x4110);
    out.U16(static_cast<uint16_t>(object.positions.size() / 3));
    for (float value : object.positions) out.F32(value);
    out.End();

    if (!object.mapping.empty()) {
        out.Begin(0x4140);
        out.U16(static_cast<uint16_t>(object.mapping.size() / 2));
        for (float value : object.mapping) out.F32(value);
        out.End();
    }

    out.Begin(0x4160);  // local axes: identity rotation, origin at 0
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col) out.F32(row == col ? 1.0f : 0.0f);
    out.End();

    out.Begin(0x4120);
    size_t faceCount = object.faces.size() / 3;
    out.U16(static_cast<uint16_t>(faceCount));
    for (size_t f = 0; f < faceCount; ++f) {
        for (int k = 0; k < 3; ++k) out.U16(object.faces[3 * f + k]);
        out.U16(7);  // all three edges visible
    }
    if (!object.material.empty()) {
        out.Begin(0x4130);
        out.Name(object.material);
        out.U16(static_cast<uint16_t>(faceCount));
        for (size_t f = 0; f < faceCount; ++f) out.U16(static_cast<uint16_t>(f));
        out.End();
    }
    if (!object.smoothing.empty()) {
        out.Begin(0x4150);
        for (uint32_t mask : object.smoothing) out.U32(mask);
        out.End();
    }
    out.End();  // 0x4120

    out.End();  // 0x4100
    out.End();  // 0x4000
}

std::vector<unsigned char> WriteModel3ds(const std::vector<ObjectData>& objects) {
    Writer3ds out;
    WriteModel3ds(out, objects);
    return out.Bytes();
}

void WriteModel3ds(Writer3ds& out, const std::vector<ObjectData>& objects) {
    out.Begin(0x4D4D);
    out.Begin(0x0002);  // file version
    out.U32(3);
    out.End();
    out.Begin(0x3D3D);
    out.Begin(0x3D3E);  // mesh version
    out.U32(3);
    out.End();
    out.Begin(0xAFFF);  // one material with its name and diffuse colour
    out.Begin(0xA000);
    out.Name("Scales");
    out.End();
    out.Begin(0xA020);
    out.Begin(0x0011);
    out.Raw({180, 200, 120});
    out.End();
    out.End();
    out.End();
    for (const ObjectData& object : objects) WriteObject(out, object);
    out.End();  // 0x3D3D
    out.Begin(0xB000);  // keyframer header only
    out.Begin(0xB00A);
    out.U16(5);
    out.Name("MAXSCENE");
    out.U32(100);
    out.End();
    out.End();
    out.End();  // 0x4D4D
}
