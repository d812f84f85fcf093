// The preview still as the Windows build makes it: the model tool renders
// our model to a 152 x 112 baseline JPEG that the front end embeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "file_bytes.h"
#include "test_folder.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadAll(const std::string& path) {
    Bytes bytes;
    ReadFileBytes(path, bytes);
    return bytes;
}

// Runs the model tool as the build does; true when it exits with 0.
bool Tool(const std::string& arguments) {
    return std::system((std::string(ONDRAKE_MODEL_TOOL) + " " + arguments).c_str()) == 0;
}

// The marker of the frame header (0xC0 baseline, 0xC1 extended, 0xC2
// progressive ...), walking the segments up to the scan; 0 if none.
int FrameMarker(const Bytes& jpeg) {
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        int marker = jpeg[at + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) return marker;
        if (marker == 0xDA) return 0;
        at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    return 0;
}

struct Decoded {
    int width = 0, height = 0, components = 0;
    bool jfif = false;
    int jfifMajor = 0, jfifMinor = 0;
    bool progressive = true;
    Bytes rgb;
    int Channel(int x, int y, int c) const { return rgb[3 * (size_t(y) * width + x) + c]; }
};

struct DecodeError {
    jpeg_error_mgr manager;
    std::jmp_buf failed;
};

[[noreturn]] void JumpOut(j_common_ptr info) { std::longjmp(reinterpret_cast<DecodeError*>(info->err)->failed, 1); }

// False on a libjpeg error; info and error belong to the caller so that
// they survive the jump.
bool Decode(jpeg_decompress_struct& info, DecodeError& error, const Bytes& jpeg, Decoded& out) {
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JumpOut;
    if (setjmp(error.failed)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    out.components = info.num_components;
    out.jfif = info.saw_JFIF_marker;
    out.jfifMajor = info.JFIF_major_version;
    out.jfifMinor = info.JFIF_minor_version;
    out.progressive = info.progressive_mode;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = int(info.output_width);
    out.height = int(info.output_height);
    out.rgb.resize(size_t(3) * out.width * out.height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out.rgb[size_t(3) * out.width * info.output_scanline];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct Region {
    int count = 0;
    double meanX = 0, meanY = 0;
};

// Where the pixels lie that pred picks by position, brightest channel and
// spread between channels (0 for grey).
template <class Pred>
Region Find(const Decoded& picture, Pred pred) {
    Region region;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            int r = picture.Channel(x, y, 0), g = picture.Channel(x, y, 1), b = picture.Channel(x, y, 2);
            int high = std::max({r, g, b});
            if (!pred(x, y, high, high - std::min({r, g, b}))) continue;
            ++region.count;
            region.meanX += x;
            region.meanY += y;
        }
    if (region.count) region.meanX /= region.count, region.meanY /= region.count;
    return region;
}

TEST(Preview, IsASmallBaselineJpegOfTheModelAndItsTrailOnBlack) {
    // (That two renders give the same bytes is seen by the release test: a
    // second Windows build renders the still again for the front end.)
    const std::string model = TestFolder() + "preview_test.3ds", still = TestFolder() + "preview.jpg";
    ASSERT_TRUE(Tool("make " + model));
    ASSERT_TRUE(Tool("render " + model + " " + still + " --frames " + std::to_string(ONDRAKE_PREVIEW_FRAMES) +
                     " --size " ONDRAKE_PREVIEW_SIZE));
    Bytes jpeg = ReadAll(still);
    ASSERT_GT(jpeg.size(), 1000u);
    EXPECT_EQ(FrameMarker(jpeg), 0xC0) << "not a baseline frame";

    jpeg_decompress_struct info;
    DecodeError error;
    Decoded picture;
    ASSERT_TRUE(Decode(info, error, jpeg, picture));
    EXPECT_EQ(picture.width, 152);
    EXPECT_EQ(picture.height, 112);
    EXPECT_EQ(picture.components, 3);
    EXPECT_TRUE(picture.jfif);
    EXPECT_EQ(picture.jfifMajor * 100 + picture.jfifMinor, 101);
    EXPECT_FALSE(picture.progressive);

    // A bright, coloured body about the middle...
    Region body = Find(picture, [](int, int, int high, int spread) { return high >= 160 && spread >= 40; });
    EXPECT_GT(body.count, 150);
    EXPECT_NEAR(body.meanX, 76, 20);
    EXPECT_NEAR(body.meanY, 56, 15);
    // ...a grey trail to its left...
    Region trail = Find(picture, [](int, int, int high, int spread) { return high >= 40 && spread <= 16; });
    EXPECT_GT(trail.count, 800);
    EXPECT_LT(trail.meanX, body.meanX - 15);
    // ...and black around them: above, below and right of the picture's
    // middle band.
    Region border =
        Find(picture, [](int x, int y, int high, int) { return (x >= 136 || y < 14 || y >= 98) && high > 24; });
    EXPECT_EQ(border.count, 0);
}

}  // namespace
