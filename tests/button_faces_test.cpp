// The button's face images against the ring colour table, and the BMP
// files they are written to.
#include "button_faces.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "bitmap_file.h"
#include "little_endian.h"

namespace {

// The faces' rings as sections through the picture, worked out by hand from
// the colour table rather than copied from the drawing code: per face, the
// four rings (outermost first) at the top and bottom edges of columns 4,
// 31 and 59, and at the left and right edges (from the outside in) of rows 4, 12 and
// 20, where the side runs go from their first colour at row 4 to their
// second at row 20, each channel rounded to the nearest value.
const char kSections[] = R"(
Normal    top E0DCC9 003C74 F3F3EE F3F3EE  bottom F8F7F0 003C74 D6D0C5 E2DFD6
  row  4 left E2DECB 003C74 FDFDFC FDFDFC  right F0EEE0 003C74 F6F4F2 FBFBFA
  row 12 left E2DECB 003C74 F5F4F1 F4F4F1  right F0EEE0 003C74 EBE9E3 F0EFEA
  row 20 left E2DECB 003C74 ECEBE6 EBEBE5  right F0EEE0 003C74 E0DDD4 E4E2DA
HighLight top E0DCC9 003C74 FFF0CF FDD889  bottom F8F7F0 003C74 E59700 F8B330
  row  4 left E2DECB 003C74 FEDF9A FCD279  right F0EEE0 003C74 FDE09B FCD279
  row 12 left E2DECB 003C74 FCCA68 FAC457  right F0EEE0 003C74 FBCA68 FAC457
  row 20 left E2DECB 003C74 F9B435 F8B535  right F0EEE0 003C74 F8B435 F8B535
Selected  top E0DCC9 003C74 CEE7FF CEE7FF  bottom F8F7F0 003C74 6982EE 6982EE
  row  4 left E2DECB 003C74 B7D0F4 B8D1F4  right F0EEE0 003C74 B1CCF2 B1CCF2
  row 12 left E2DECB 003C74 A1BFEC A2BFEC  right F0EEE0 003C74 9EBEEC 9EBEEC
  row 20 left E2DECB 003C74 8BADE4 8BADE4  right F0EEE0 003C74 8BAFE5 8BAFE5
Pressed   top ECE9D8 E0DCC9 003C74 D1CCC1  bottom ECE9D8 F8F7F0 003C74 F2F1EE
  row  4 left ECE9D8 E2DECB 003C74 D8D5CB  right ECE9D8 F0EEE0 003C74 E4E3DC
  row 12 left ECE9D8 E2DECB 003C74 D8D5CB  right ECE9D8 F0EEE0 003C74 E4E3DC
  row 20 left ECE9D8 E2DECB 003C74 D8D5CB  right ECE9D8 F0EEE0 003C74 E4E3DC
Disable   top ECE9D8 C9C7BA F5F4EA F5F4EA  bottom ECE9D8 C9C7BA F5F4EA F5F4EA
  row  4 left ECE9D8 C9C7BA F5F4EA F5F4EA  right ECE9D8 C9C7BA F5F4EA F5F4EA
  row 12 left ECE9D8 C9C7BA F5F4EA F5F4EA  right ECE9D8 C9C7BA F5F4EA F5F4EA
  row 20 left ECE9D8 C9C7BA F5F4EA F5F4EA  right ECE9D8 C9C7BA F5F4EA F5F4EA
)";

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

TEST(ButtonFaces, RingsShowTheWorkedOutSections) {
    std::map<std::string, Image> faces = Faces();
    std::istringstream text(kSections);
    std::string face, word, seen[4];
    int sections = 0;
    // Reads the next section's four colours.
    auto read = [&] {
        for (std::string& colour : seen) text >> colour;
        ++sections;
    };
    // where names the place for a failure.
    auto expect = [&](auto pixelOfRing, const std::string& where) {
        for (int ring = 0; ring < 4; ++ring)
            EXPECT_EQ(Hex(pixelOfRing(ring)), seen[ring]) << face << " " << where << " ring " << ring;
    };
    while (text >> word) {
        if (word == "top" || word == "bottom") {
            const Image& image = faces.at(face);
            const bool top = word == "top";
            read();
            for (int x : {4, 31, 59})
                expect([&](int k) { return image.at(x, top ? k : 24 - k); }, word + ", column " + std::to_string(x));
        } else if (word == "row") {
            int row;
            text >> row >> word;
            const Image& image = faces.at(face);
            read();
            expect([&](int k) { return image.at(k, row); }, "left, row " + std::to_string(row));
            text >> word;
            read();
            expect([&](int k) { return image.at(63 - k, row); }, "right, row " + std::to_string(row));
        } else {
            face = word;
        }
    }
    EXPECT_EQ(sections, 5 * 8);
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
