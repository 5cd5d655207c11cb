#include "pictures/PictureData.h"
#include "pictures/PictureMemory.h"

#include <cstring>
#include <vector>

namespace pictures {

namespace {

constexpr std::uint32_t kOpaque = 0xff000000u;

std::uint32_t pixelAt(const std::uint8_t* p, PixelFormat format)
{
    switch (format) {
    case PixelFormat::Rgb24:
        return kOpaque | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    case PixelFormat::Gray8:
        return kOpaque | std::uint32_t{p[0]} * 0x010101u;
    case PixelFormat::Xrgb32:
        break;
    }
    std::uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

int bytesPerPixel(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Rgb24:
        return 3;
    case PixelFormat::Gray8:
        return 1;
    case PixelFormat::Xrgb32:
        break;
    }
    return 4;
}

template <PixelFormat format>
void stretchRow(const std::uint8_t* source, const std::size_t* offsets, std::uint32_t* target,
                int width)
{
    for (int x = 0; x < width; ++x)
        target[x] = pixelAt(source + offsets[x], format);
}

void stretchRow(const std::uint8_t* source, const std::size_t* offsets, std::uint32_t* target,
                int width, PixelFormat format)
{
    // One branch per row, not per pixel.
    switch (format) {
    case PixelFormat::Rgb24:
        return stretchRow<PixelFormat::Rgb24>(source, offsets, target, width);
    case PixelFormat::Gray8:
        return stretchRow<PixelFormat::Gray8>(source, offsets, target, width);
    case PixelFormat::Xrgb32:
        return stretchRow<PixelFormat::Xrgb32>(source, offsets, target, width);
    }
}

} // namespace

Bitmap stretchBitmap(const Bitmap& source, int width, int height)
{
    Bitmap target;
    target.width = width;
    target.height = height;
    target.format = PixelFormat::Xrgb32;
    target.stride = static_cast<std::size_t>(width) * 4;
    target.pixels = allocatePixels(target.stride * static_cast<std::size_t>(height));

    const auto scale = [](int to, int size, int from) {
        return static_cast<int>(std::int64_t{to} * from / size);
    };
    std::vector<std::size_t> offsets(static_cast<std::size_t>(width));
    const int step = bytesPerPixel(source.format);
    for (int x = 0; x < width; ++x)
        offsets[x] = static_cast<std::size_t>(scale(x, width, source.width)) * step;

    int previous = -1;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = target.pixels.get() + static_cast<std::size_t>(y) * target.stride;
        const int sourceY = scale(y, height, source.height);
        if (sourceY == previous) {
            // Enlarging repeats rows: copy the one just made.
            std::memcpy(row, row - target.stride, target.stride);
            continue;
        }
        previous = sourceY;
        stretchRow(source.row(sourceY), offsets.data(), reinterpret_cast<std::uint32_t*>(row),
                   width, source.format);
    }
    return target;
}

} // namespace pictures
