#include "pictures/JpegEncode.h"

#include "pictures/JpegSession.h"

#include <cstdlib>

namespace pictures {

namespace {

[[noreturn]] void jumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<jpeg::ErrorJump*>(info->err)->jump, jpeg::kFailedJump);
}

// The libjpeg part: only trivially destructible locals, since a failure
// longjmps out of it. The encoded bytes are in `buffer` (malloc'ed by
// libjpeg, also after a failure) when it returns true.
bool compress(const std::uint8_t* pixels, int width, int height, int channels, int quality,
              unsigned char*& buffer, unsigned long& size)
{
    jpeg_compress_struct info{};
    jpeg::ErrorJump error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpOut;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = channels;
    info.in_color_space = channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = std::size_t(width) * std::size_t(channels);
    while (info.next_scanline < info.image_height) {
        // libjpeg's row type is not const; it only reads the rows.
        JSAMPROW row = const_cast<JSAMPROW>(pixels + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

std::string encodeJpeg(const std::uint8_t* pixels, int width, int height, int channels, int quality)
{
    if (!pixels || width <= 0 || height <= 0 || (channels != 1 && channels != 3))
        return {};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool encoded = compress(pixels, width, height, channels, quality, buffer, size);
    std::string bytes;
    if (encoded)
        bytes.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

} // namespace pictures
