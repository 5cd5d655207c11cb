#pragma once

#include "pictures/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace pictures {

struct ScaledPicture {
    Bitmap bitmap; // upright, Rgb24 or Gray8; empty when refused
    int width = 0; // the whole picture's upright size
    int height = 0;
    int scaleDenominator = 1; // libjpeg's DCT scaling: 1, 2, 4 or 8
    std::optional<int> error; // libjpeg's message code when decoding failed
    bool warned = false;      // libjpeg warned: the file is damaged
    bool refused = false;     // no JPEG header, or beyond the decode budget
};

// The largest of 1/8, 1/4, 1/2 and 1/1 that still leaves the longer side at
// least `longSide` pixels; 1 for a `longSide` of 0 or less.
int scaleDenominatorFor(int width, int height, int longSide);

// Decodes the JPEG in `data` at the scale scaleDenominatorFor gives (only
// the coefficients the smaller picture needs are transformed), with the
// judging program's settings and under its decode budget, and turns it
// upright by its EXIF orientation. Safe to call from several threads at
// once. On a libjpeg error the bitmap keeps the rows decoded so far.
ScaledPicture decodeScaled(const std::uint8_t* data, std::size_t size, int longSide);

} // namespace pictures
