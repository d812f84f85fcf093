// Pictures grown and shrunk to the screen's density, against cases worked
// out by hand: each new pixel the mean of the source it covers.
#include "smooth_scale.h"

#include <gtest/gtest.h>

namespace {

Pixels Row(std::vector<uint32_t> values) {
    Pixels row(static_cast<int>(values.size()), 1);
    row.values = std::move(values);
    return row;
}

TEST(SmoothScale, WholeRatiosAndTheOwnSizeKeepThePixels) {
    const Pixels two = Row({0x00102030, 0xFFFFFFFF});
    EXPECT_EQ(ScaleSmoothly(two, 0, 0, 2, 1, 2, 1).values, two.values);
    EXPECT_EQ(ScaleSmoothly(two, 0, 0, 2, 1, 4, 2).values,
              (std::vector<uint32_t>{0x00102030, 0x00102030, 0xFFFFFFFF, 0xFFFFFFFF, 0x00102030, 0x00102030,
                                     0xFFFFFFFF, 0xFFFFFFFF}));
}

TEST(SmoothScale, ANewPixelAcrossTwoSourcePixelsTakesTheirMean) {
    // Two to three: the middle pixel covers a third of each, a half and a
    // half; channels round halves up (0xFF / 2 = 127.5 -> 0x80).
    EXPECT_EQ(ScaleSmoothly(Row({0x00000000, 0x00FF6432}), 0, 0, 2, 1, 3, 1).values,
              (std::vector<uint32_t>{0x00000000, 0x00803219, 0x00FF6432}));
    // Three to two: a pixel and a half each, the middle one shared.
    EXPECT_EQ(ScaleSmoothly(Row({0x00000000, 0x00000060, 0x000000C0}), 0, 0, 3, 1, 2, 1).values,
              (std::vector<uint32_t>{0x00000020, 0x000000A0}));
    Pixels square(2, 2);
    square.values = {10, 20, 30, 40};
    EXPECT_EQ(ScaleSmoothly(square, 0, 0, 2, 2, 1, 1).values, (std::vector<uint32_t>{25}));
}

TEST(SmoothScale, AnAreaOutsideThePictureGivesNothing) {
    const Pixels two = Row({1, 2});
    EXPECT_TRUE(ScaleSmoothly(two, 1, 0, 2, 1, 4, 1).values.empty());
    EXPECT_TRUE(ScaleSmoothly(two, 0, 0, 2, 1, 0, 1).values.empty());
}

TEST(SmoothScale, AFrameKeepsItsCornersWholeAndItsEdgesBands) {
    // Corners 0, edges 0x60, middle 0xC0, in a 3 x 3 picture with corners
    // of one pixel, grown to 6 x 5 with corners of 2 x 2: no corner mixes
    // with an edge, as one scale of the whole picture would mix them.
    const uint32_t c = 0, e = 0x60, m = 0xC0;
    Pixels frame(3, 3);
    frame.values = {c, e, c, e, m, e, c, e, c};
    EXPECT_EQ(ScaleFrame(frame, 1, 6, 5, 2, 2).values, (std::vector<uint32_t>{c, c, e, e, c, c,  //
                                                                              c, c, e, e, c, c,  //
                                                                              e, e, m, m, e, e,  //
                                                                              c, c, e, e, c, c,  //
                                                                              c, c, e, e, c, c}));
}

}  // namespace
