#pragma once

#include "pictures/DecodeBudget.h"
#include "pictures/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace pictures {

struct JpegHeader {
    int width = 0;
    int height = 0;
    budget::Cost cost; // what decoding it would take
};

// Parses the header of the JPEG in `data` with libjpeg and estimates the
// cost of decoding it; nothing when libjpeg does not accept it as a JPEG
// header.
std::optional<JpegHeader> readJpegHeader(const std::uint8_t* data, std::size_t size);

// A progressive file with more scans than this, or more block visits than
// the budget allows, is refused while decoding, reported as libjpeg's
// JERR_BAD_PROGRESSION: a backstop behind the estimate from the header.
inline constexpr int kMaxScans = 1000;

struct DecodedJpeg {
    Bitmap bitmap;            // Rgb24, or Gray8 for a grayscale file
    std::optional<int> error; // libjpeg's message code when decoding failed
};

// Decodes at full size with float IDCT and block smoothing; grayscale
// through the one-pass quantizer with 236 levels, CMYK and YCCK converted
// to RGB here. On an error the rows decoded so far are kept, the rest is
// black; when nothing could be decoded the bitmap is black at `fallback`.
DecodedJpeg decodeJpeg(const std::uint8_t* data, std::size_t size, JpegHeader fallback);

} // namespace pictures
