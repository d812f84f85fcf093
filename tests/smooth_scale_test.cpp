// Pictures grown and shrunk to the screen's density, against cases worked
// out by hand: each new pixel the mean of the source it covers.
#include "smooth_scale.h"

#include <gtest/gtest.h>

namespace {

Pixels Drawn(int width, int height, std::vector<uint32_t> values) {
    Pixels drawn(width, height);
    drawn.values = std::move(values);
    return drawn;
}

TEST(SmoothScale, EachNewPixelIsTheMeanOfWhatItCovers) {
    const Pixels two = Drawn(2, 1, {0x00102030, 0xFFFFFFFF});
    EXPECT_EQ(ScaleSmoothly(two, 0, 0, 2, 1, 2, 1).values, two.values);  // its own size
    EXPECT_EQ(ScaleSmoothly(two, 0, 0, 2, 1, 4, 1).values,               // a whole ratio
              (std::vector<uint32_t>{0x00102030, 0x00102030, 0xFFFFFFFF, 0xFFFFFFFF}));
    // Two to three: the middle pixel covers a third of each, channels
    // rounding halves up (0xFF / 2 -> 0x80). Three to two: a pixel and a
    // half each. Two by two to one: the mean of four.
    EXPECT_EQ(ScaleSmoothly(Drawn(2, 1, {0x00000000, 0x00FF6432}), 0, 0, 2, 1, 3, 1).values,
              (std::vector<uint32_t>{0x00000000, 0x00803219, 0x00FF6432}));
    EXPECT_EQ(ScaleSmoothly(Drawn(3, 1, {0x00, 0x60, 0xC0}), 0, 0, 3, 1, 2, 1).values,
              (std::vector<uint32_t>{0x20, 0xA0}));
    EXPECT_EQ(ScaleSmoothly(Drawn(2, 2, {10, 20, 30, 40}), 0, 0, 2, 2, 1, 1).values, (std::vector<uint32_t>{25}));
}

TEST(SmoothScale, AFrameKeepsItsCornersWholeAndItsEdgesBands) {
    // Corners c, edges e, middle m, in a 3 x 3 picture with corners of one
    // pixel, grown to 6 x 5 with corners of 2 x 2: no corner mixes with an
    // edge, as one scale of the whole picture would mix them.
    const uint32_t c = 0, e = 0x60, m = 0xC0;
    EXPECT_EQ(ScaleFrame(Drawn(3, 3, {c, e, c, e, m, e, c, e, c}), 1, 6, 5, 2, 2).values,
              (std::vector<uint32_t>{c, c, e, e, c, c, c, c, e, e, c, c, e, e, m, m, e, e,  //
                                     c, c, e, e, c, c, c, c, e, e, c, c}));
    // Too small for its two corners: nothing, and nothing written beyond it.
    EXPECT_TRUE(ScaleFrame(Drawn(3, 3, {c, e, c, e, m, e, c, e, c}), 1, 3, 1, 2, 2).values.empty());
}

}  // namespace
