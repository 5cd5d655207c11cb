#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pictures {

// `height` rows of `width` pixels, `channels` bytes each (3: RGB, 1: grey),
// rows `width * channels` bytes apart, as a baseline JPEG of `quality`
// (grey stays grey). Empty when there is nothing to encode or libjpeg
// fails (it can only run out of memory here).
std::string encodeJpeg(const std::uint8_t* pixels, int width, int height, int channels,
                       int quality);

} // namespace pictures
