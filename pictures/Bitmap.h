#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pictures {

enum class PixelFormat {
    Rgb24,  // 3 bytes a pixel: R, G, B
    Gray8,  // 1 byte a pixel: the grey value
    Xrgb32, // 4 bytes a pixel as one native uint32 0xffRRGGBB (Qt's Format_RGB32)
};

// A bitmap: `height` rows of `stride` bytes, top row first. Immutable once
// made; owns its memory.
struct Bitmap {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Rgb24;
    std::size_t stride = 0;
    std::shared_ptr<std::uint8_t[]> pixels; // or a custom deleter, the owner's choice

    const std::uint8_t* row(int y) const
    {
        return pixels.get() + static_cast<std::size_t>(y) * stride;
    }
};

} // namespace pictures
