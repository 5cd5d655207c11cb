#pragma once

#include "pictures/Picture.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace pictures {

// What copies of a holder share. The file's bytes and size never change;
// the bitmap is made once, the stretched image for the last size asked.
struct Picture::Data {
    std::shared_ptr<std::uint8_t[]> bytes; // dropped once decoded
    std::size_t size = 0;
    int width = 0;
    int height = 0;

    bool decoded = false;
    Bitmap bitmap;
    std::optional<int> decodeError;

    Bitmap stretched; // empty until asked for
};

// The nearest-neighbour resampling behind Picture::stretched: source x of
// target x is x * source width / target width, the same for y.
Bitmap stretchBitmap(const Bitmap& source, int width, int height);

// The placeholder's bitmap: 500 x 348, 0 or 255 per pixel.
Bitmap drawPlaceholder();

} // namespace pictures
