// The dialog's marks, the program's icon and the icon file it is written
// to, read back field by field as Windows reads them.
#include "dialog_art.h"

#include <gtest/gtest.h>

#include "icon_file.h"
#include "little_endian.h"

namespace {

TEST(DialogArt, MarksAreFramedSquaresTheChosenOneBlue) {
    Image unchosen = MarkPicture(false), chosen = MarkPicture(true);
    ASSERT_EQ(unchosen.width(), 12);
    ASSERT_EQ(unchosen.height(), 12);
    for (int i = 0; i < 12; ++i) {  // the same grey frame on both
        EXPECT_EQ(unchosen.at(i, 0), chosen.at(i, 0));
        EXPECT_EQ(unchosen.at(0, i), chosen.at(0, i));
        EXPECT_EQ(unchosen.at(11, i), RgbOf(0x808080));
    }
    Rgb inside = unchosen.at(6, 6), blue = chosen.at(6, 6);
    EXPECT_GT(inside.red, 0xF0);  // light
    EXPECT_GT(blue.blue, 2 * blue.red);
    EXPECT_GT(blue.blue, 2 * blue.green);
}

TEST(DialogArt, IconFileAsWindowsReadsIt) {
    std::vector<uint8_t> ico = EncodeIco8({IconPicture(32), IconPicture(16)});
    ASSERT_GE(ico.size(), 6u + 2 * 16);
    EXPECT_EQ(Get16(ico, 0), 0);  // reserved
    EXPECT_EQ(Get16(ico, 2), 1);  // an icon
    ASSERT_EQ(Get16(ico, 4), 2);
    const int sizes[2] = {32, 16};
    size_t expectedOffset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        size_t entry = 6 + 16 * size_t(i);
        int size = sizes[i];
        EXPECT_EQ(ico[entry], size);
        EXPECT_EQ(ico[entry + 1], size);
        EXPECT_EQ(Get16(ico, entry + 6), 8);  // bits per pixel
        uint32_t length = Get32(ico, entry + 8), offset = Get32(ico, entry + 12);
        EXPECT_EQ(offset, expectedOffset);
        // Info header, 256 palette entries, 8-bit rows and the 1-bit mask,
        // each row padded to 4 bytes.
        size_t rowBytes = (size + 3) & ~3, maskBytes = ((size + 31) / 32) * 4;
        ASSERT_EQ(length, 40 + 256 * 4 + (rowBytes + maskBytes) * size);
        ASSERT_LE(offset + length, ico.size());
        EXPECT_EQ(Get32(ico, offset), 40u);
        EXPECT_EQ(int(Get32(ico, offset + 4)), size);
        EXPECT_EQ(int(Get32(ico, offset + 8)), 2 * size);  // colour and mask
        // The round tile: the corners see-through, the middle not. The
        // mask's rows run from the bottom; its top row is the last.
        size_t mask = offset + 40 + 256 * 4 + rowBytes * size;
        size_t topRow = mask + maskBytes * (size - 1), middleRow = mask + maskBytes * (size / 2);
        EXPECT_TRUE(ico[topRow] & 0x80) << size;                   // (0, 0)
        EXPECT_FALSE(ico[middleRow + size / 16] & 0x80) << size;  // (size / 2, size / 2)
        expectedOffset = offset + length;
    }
    EXPECT_EQ(expectedOffset, ico.size());
}

TEST(DialogArt, ThePaletteHoldsBlackWhiteAndTheTileColour) {
    std::vector<Rgb> palette = IconPalette();
    ASSERT_EQ(palette.size(), 256u);
    auto has = [&](uint32_t rrggbb) {
        for (Rgb colour : palette)
            if (colour == RgbOf(rrggbb)) return true;
        return false;
    };
    EXPECT_TRUE(has(0x000000));
    EXPECT_TRUE(has(0xFFFFFF));
    EXPECT_TRUE(has(0x000033));  // the icon's dark tile, exactly
}

}  // namespace
