#include "picture_jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "file_bytes.h"

namespace {

// libjpeg reports a failure by calling error_exit, which must not return;
// ours jumps back to the compressing function instead of ending the
// program, as the library's default does.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf failed;
};

[[noreturn]] void JumpOut(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->failed, 1); }

// Compresses width x height RGB rows into a buffer that libjpeg allocates
// with malloc; the caller frees *out after a success only. libjpeg fills in
// *out when it finishes, and a buffer it outgrew is already freed, so after
// a failure *out may name freed memory (what libjpeg still holds is lost,
// once, in a tool that then ends). The caller
// holds info and error, since locals changed after setjmp are not to be
// trusted after the jump; nothing here has a destructor to skip.
bool Compress(jpeg_compress_struct& info, JpegError& error, const unsigned char* rgb, int width, int height,
              int quality, unsigned char** out, unsigned long* size) {
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JumpOut;
    if (setjmp(error.failed)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    // The defaults: a JFIF 1.01 header, YCbCr, the standard Huffman tables,
    // the exact integer DCT. Forcing baseline keeps the quantisation tables
    // to eight bits, so the frame is a baseline one.
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(rgb + size_t(3) * width * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool WriteJpeg(const std::string& path, const Picture& picture, int quality) {
    std::vector<unsigned char> rgb;
    rgb.reserve(size_t(3) * picture.width * picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) rgb.insert(rgb.end(), picture.Pixel(x, y), picture.Pixel(x, y) + 3);

    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    jpeg_compress_struct info;
    JpegError error;
    bool compressed = Compress(info, error, rgb.data(), picture.width, picture.height, quality, &jpeg, &size);
    if (!compressed) return false;
    bool written = WriteFileBytes(path, jpeg, size);
    std::free(jpeg);
    return written;
}
