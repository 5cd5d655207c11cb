#pragma once

// A synthetic photograph for the benchmarks, written row by row with
// libjpeg so that making it takes no picture-sized memory.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace bench {

enum class Kind { colour, grey, progressive };

// Sky, soft shapes, edges and a faint grain: compresses like a photograph.
// A grey one is written as a one-component JPEG.
inline void writePhoto(const std::string& file, int width, int height, int quality = 90,
                       unsigned seed = 0, Kind kind = Kind::colour)
{
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) {
        std::perror(file.c_str());
        std::exit(1);
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (kind == Kind::grey)
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (kind == Kind::progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * 3);
    std::uint32_t grain = 12345u + seed;
    for (int y = 0; y < height; ++y) {
        const double fy = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / width + seed * 0.37;
            const bool hill = fy > 0.55 + 0.08 * std::sin(fx * 11);
            const double leaves = 18 * std::sin(x * 0.045 + std::sin(y * 0.03) * 3) *
                                      std::cos(y * 0.05 + std::sin(x * 0.02) * 2) +
                                  9 * std::sin(x * 0.31 + 2 * std::sin(y * 0.13)) *
                                      std::sin(y * 0.27 + std::cos(x * 0.07));
            grain = grain * 1664525u + 1013904223u;
            const double noise = (double(grain >> 28) - 7.5) * 0.8;
            const double r = hill ? 70 + leaves + 40 * fx : 120 + 90 * fy;
            const double g = hill ? 110 + leaves * 1.3 + 30 * fy : 160 + 70 * fy;
            const double b = hill ? 40 + leaves * 0.5 : 230 - 40 * fy + 20 * std::sin(fx * 5);
            JSAMPLE* p = &row[std::size_t(x) * 3];
            p[0] = JSAMPLE(std::clamp(r + noise, 0.0, 255.0));
            p[1] = JSAMPLE(std::clamp(g + noise, 0.0, 255.0));
            p[2] = JSAMPLE(std::clamp(b + noise, 0.0, 255.0));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

// The file again with an APP1 "Exif" segment saying `orientation`.
inline std::string withOrientation(const std::string& file, int orientation)
{
    std::FILE* in = std::fopen(file.c_str(), "rb");
    std::vector<unsigned char> bytes;
    for (int c; (c = std::fgetc(in)) != EOF;)
        bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(in);
    const unsigned char segment[] = {
        0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0,
        'M',  'M',  0, 42, 0,   0,   0,   8,   0, 1,
        1,    0x12, 0, 3,  0,   0,   0,   1,   0, static_cast<unsigned char>(orientation),
        0,    0,    0, 0,  0,   0};
    bytes.insert(bytes.begin() + 2, std::begin(segment), std::end(segment));
    std::string out = file + ".o" + std::to_string(orientation) + ".jpg";
    std::FILE* o = std::fopen(out.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), o);
    std::fclose(o);
    return out;
}

} // namespace bench
