#pragma once

#include "pictures/Bitmap.h"

#include <cstddef>
#include <cstdint>

namespace pictures {

// How the stored pixels stand upright (the EXIF orientation 1..8), as a
// mapping from the upright picture's pixel (X, Y), in its size W x H, to the
// stored one: mirror X and Y in the upright picture, then swap them.
struct Orientation {
    bool transpose = false; // 5..8: stored rows are upright columns
    bool mirrorX = false;
    bool mirrorY = false;

    static Orientation fromExif(int value);

    bool operator==(const Orientation&) const = default;
};

// The orientation tag of the JPEG in `data` (APP1 "Exif", either byte
// order, IFD0 tag 0x0112): 1..8, or 1 when it is missing or malformed.
// Reads nothing outside [data, data + size).
int exifOrientation(const std::uint8_t* data, std::size_t size);

// The stored bitmap turned upright, as a new bitmap of the same format (for
// small pictures; the window maps coordinates instead).
Bitmap uprightBitmap(const Bitmap& stored, Orientation orientation);

} // namespace pictures
