#pragma once

#include "pictures/Bitmap.h"
#include "pictures/Decoder.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace pictures {

struct ScaledPicture {
    Bitmap bitmap; // upright, Rgb24 or Gray8; empty when refused
    int width = 0; // the whole picture's upright size
    int height = 0;
    int scaleDenominator = 1;         // 1, 2, 4 or 8
    std::optional<DecodeError> error; // when decoding failed
    bool warned = false;              // the decoder warned: the file is damaged
    bool refused = false;             // no picture header, or beyond the decode budget
};

// The largest of 1/8, 1/4, 1/2 and 1/1 that still leaves the longer side at
// least `longSide` pixels; 1 for a `longSide` of 0 or less.
int scaleDenominatorFor(int width, int height, int longSide);

// Decodes the picture in `data` at the scale scaleDenominatorFor gives
// (only what the smaller picture needs is decoded), with the judging
// program's settings and under its decode budget, and turns it upright by
// its EXIF orientation. Safe to call from several threads at once. On an
// error the bitmap keeps the rows decoded so far.
ScaledPicture decodeScaled(const std::uint8_t* data, std::size_t size, int longSide);

} // namespace pictures
