// The button's face images against the ring colour table, and the BMP
// files they are written to.
#include "button_faces.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "bitmap_file.h"
#include "little_endian.h"

namespace {

// The ring colour table, written out again: top, bottom, left from row 4
// to row 20, right likewise.
struct Ring {
    uint32_t top, bottom, leftFrom, leftTo, rightFrom, rightTo;
};
struct Expected {
    const char* face;
    Ring rings[4];
};
const Ring kRing0 = {0xE0DCC9, 0xF8F7F0, 0xE2DECB, 0xE2DECB, 0xF0EEE0, 0xF0EEE0};
const Ring kBorder = {0x003C74, 0x003C74, 0x003C74, 0x003C74, 0x003C74, 0x003C74};
constexpr Ring Plain(uint32_t c) { return {c, c, c, c, c, c}; }
const Expected kTable[] = {
    {"Normal",
     {kRing0,
      kBorder,
      {0xF3F3EE, 0xD6D0C5, 0xFDFDFC, 0xECEBE6, 0xF6F4F2, 0xE0DDD4},
      {0xF3F3EE, 0xE2DFD6, 0xFDFDFC, 0xEBEBE5, 0xFBFBFA, 0xE4E2DA}}},
    {"HighLight",
     {kRing0,
      kBorder,
      {0xFFF0CF, 0xE59700, 0xFEDF9A, 0xF9B435, 0xFDE09B, 0xF8B435},
      {0xFDD889, 0xF8B330, 0xFCD279, 0xF8B535, 0xFCD279, 0xF8B535}}},
    {"Selected",
     {kRing0,
      kBorder,
      {0xCEE7FF, 0x6982EE, 0xB7D0F4, 0x8BADE4, 0xB1CCF2, 0x8BAFE5},
      {0xCEE7FF, 0x6982EE, 0xB8D1F4, 0x8BADE4, 0xB1CCF2, 0x8BAFE5}}},
    {"Pressed", {Plain(0xECE9D8), kRing0, kBorder, {0xD1CCC1, 0xF2F1EE, 0xD8D5CB, 0xD8D5CB, 0xE4E3DC, 0xE4E3DC}}},
    {"Disable", {Plain(0xECE9D8), Plain(0xC9C7BA), Plain(0xF5F4EA), Plain(0xF5F4EA)}},
};

std::map<std::string, Image> Faces() {
    std::map<std::string, Image> faces;
    for (ButtonFace& face : DrawButtonFaces()) faces.emplace(face.name, std::move(face.image));
    return faces;
}

std::string Hex(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", c.red, c.green, c.blue);
    return text;
}

TEST(ButtonFaces, SixFacesOf64By25InResourceOrder) {
    std::vector<ButtonFace> faces = DrawButtonFaces();
    ASSERT_EQ(faces.size(), 6u);
    const char* names[] = {"Normal", "HighLight", "Pressed", "Disable", "HighLightSelect", "Selected"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(faces[i].name, names[i]);
        EXPECT_EQ(faces[i].image.width(), 64);
        EXPECT_EQ(faces[i].image.height(), 25);
    }
}

TEST(ButtonFaces, RingsHaveTheTabledColours) {
    std::map<std::string, Image> faces = Faces();
    for (const Expected& e : kTable) {
        const Image& image = faces.at(e.face);
        for (int k = 0; k < 4; ++k) {
            const Ring& ring = e.rings[k];
            const std::string where = std::string(e.face) + " ring " + std::to_string(k);
            for (int x : {4, 31, 59}) {
                EXPECT_EQ(Hex(image.at(x, k)), Hex(RgbOf(ring.top))) << where << " top x=" << x;
                EXPECT_EQ(Hex(image.at(x, 24 - k)), Hex(RgbOf(ring.bottom))) << where << " bottom x=" << x;
            }
            EXPECT_EQ(Hex(image.at(k, 4)), Hex(RgbOf(ring.leftFrom))) << where << " left, row 4";
            EXPECT_EQ(Hex(image.at(k, 20)), Hex(RgbOf(ring.leftTo))) << where << " left, row 20";
            EXPECT_EQ(Hex(image.at(63 - k, 4)), Hex(RgbOf(ring.rightFrom))) << where << " right, row 4";
            EXPECT_EQ(Hex(image.at(63 - k, 20)), Hex(RgbOf(ring.rightTo))) << where << " right, row 20";
        }
    }
}

// Row 12 lies half way along the side runs.
TEST(ButtonFaces, SideRunsAreInterpolatedDownwards) {
    std::map<std::string, Image> faces = Faces();
    const Image& normal = faces.at("Normal");
    Rgb middle = normal.at(2, 12);  // FDFDFC > ECEBE6
    EXPECT_NEAR(middle.red, (0xFD + 0xEC) / 2.0, 0.5);
    EXPECT_NEAR(middle.green, (0xFD + 0xEB) / 2.0, 0.5);
    EXPECT_NEAR(middle.blue, (0xFC + 0xE6) / 2.0, 0.5);
    // Monotonic from top to bottom, for a run that darkens strongly.
    const Image& highLight = faces.at("HighLight");
    for (int y = 5; y <= 20; ++y) EXPECT_LE(highLight.at(61, y).blue, highLight.at(61, y - 1).blue) << y;
}

TEST(ButtonFaces, HighLightSelectIsHighLightPixelForPixel) {
    std::map<std::string, Image> faces = Faces();
    EXPECT_TRUE(faces.at("HighLightSelect") == faces.at("HighLight"));
    EXPECT_FALSE(faces.at("Selected") == faces.at("HighLight"));
}

// The corners are cut round: the dialog's colour shows at the very corner,
// and the border ring crosses the corner diagonally as blended pixels.
TEST(ButtonFaces, CornersAreRoundedAndBlended) {
    std::map<std::string, Image> faces = Faces();
    const Rgb dialog = RgbOf(0xECE9D8);
    for (const auto& [name, image] : faces) {
        for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 24}, {63, 24}})
            EXPECT_EQ(Hex(image.at(x, y)), Hex(dialog)) << name << " corner " << x << "," << y;
    }
    const Image& normal = faces.at("Normal");
    const Rgb border = RgbOf(0x003C74);
    // The square corner's border pixel is cut away...
    EXPECT_GT(normal.at(1, 1).blue, 0xC0);
    // ...and the diagonal pixels are part border, part their neighbours.
    for (auto [x, y] : {std::pair{2, 1}, {1, 2}, {61, 1}, {62, 22}}) {
        Rgb pixel = normal.at(x, y);
        EXPECT_GT(pixel.red, border.red) << x << "," << y;
        EXPECT_LT(pixel.red, 0xE0) << x << "," << y;
    }
    // Pressed rounds its inset frame the same way, one pixel further in.
    const Image& pressed = faces.at("Pressed");
    EXPECT_EQ(Hex(pressed.at(1, 1)), Hex(dialog));
    EXPECT_GT(pressed.at(3, 2).red, border.red);
    EXPECT_LT(pressed.at(3, 2).red, 0xE0);
}

TEST(BitmapFile, Writes24BitBottomUpRowsPaddedToFourBytes) {
    Image image(5, 2, RgbOf(0x102030));
    image.at(0, 0) = RgbOf(0xAABBCC);  // top-left
    image.at(4, 1) = RgbOf(0x112233);  // bottom-right
    std::vector<uint8_t> bytes = EncodeBmp24(image);
    ASSERT_EQ(bytes.size(), 54u + 2 * 16);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Get32(bytes, 2), bytes.size());
    EXPECT_EQ(Get32(bytes, 10), 54u);  // pixels follow the headers
    EXPECT_EQ(Get32(bytes, 14), 40u);
    EXPECT_EQ(Get32(bytes, 18), 5u);
    EXPECT_EQ(Get32(bytes, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(Get16(bytes, 26), 1);
    EXPECT_EQ(Get16(bytes, 28), 24);
    EXPECT_EQ(Get32(bytes, 30), 0u);  // uncompressed
    EXPECT_EQ(Get32(bytes, 34), 32u);
    // The bottom row first, blue-green-red, padded from 15 to 16 bytes.
    EXPECT_EQ((std::vector<int>(bytes.begin() + 54 + 12, bytes.begin() + 54 + 16)),
              (std::vector<int>{0x33, 0x22, 0x11, 0}));
    EXPECT_EQ((std::vector<int>(bytes.begin() + 70, bytes.begin() + 73)), (std::vector<int>{0xCC, 0xBB, 0xAA}));
    EXPECT_EQ(bytes[85], 0);
}

TEST(BitmapFile, FaceFileHoldsTheImage) {
    std::vector<ButtonFace> faces = DrawButtonFaces();
    std::vector<uint8_t> bytes = EncodeBmp24(faces[0].image);
    ASSERT_EQ(bytes.size(), 54u + 25 * 192);
    // Image row 1 (the border ring) is file row 23.
    size_t at = 54 + 23 * 192 + 30 * 3;
    EXPECT_EQ((std::vector<int>(bytes.begin() + at, bytes.begin() + at + 3)), (std::vector<int>{0x74, 0x3C, 0x00}));
}

}  // namespace
