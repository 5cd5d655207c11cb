#include "pictures/PictureData.h"

#include "core/Tunables.h"
#include "pictures/PictureMemory.h"

#include <algorithm>
#include <cstring>

namespace pictures {

namespace {

constexpr std::uint32_t kOpaque = 0xff000000u;
constexpr int kRowsPerCheck = tunables::kStretchRowsPerCheck;

int scale(int to, int size, int from)
{
    return static_cast<int>(std::int64_t{to} * from / size);
}

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

Stretcher::Stretcher(const Bitmap& source, int width, int height, Orientation orientation)
    : source_(source), orientation_(orientation)
{
    target_.width = width;
    target_.height = height;
    target_.format = PixelFormat::Xrgb32;
    target_.stride = static_cast<std::size_t>(width) * 4;
    target_.pixels = allocatePixels(target_.stride * static_cast<std::size_t>(height), &fresh_);
    offsets_.resize(static_cast<std::size_t>(width));
    const auto step = static_cast<std::size_t>(bytesPerPixel(source.format));
    const int uprightWidth = orientation.transpose ? source.height : source.width;
    for (int x = 0; x < width; ++x) {
        int from = scale(x, width, uprightWidth);
        if (orientation.mirrorX)
            from = uprightWidth - 1 - from;
        offsets_[x] =
            static_cast<std::size_t>(from) * (orientation.transpose ? source.stride : step);
    }
}

// Upright rows are stored rows: each target row reads one source row.
void Stretcher::makeRows(int end)
{
    std::uint8_t* rows = target_.pixels.get() + nextRow_ * target_.stride;
    for (; nextRow_ < end; ++nextRow_, rows += target_.stride) {
        int sourceY = scale(nextRow_, target_.height, source_.height);
        if (orientation_.mirrorY)
            sourceY = source_.height - 1 - sourceY;
        if (sourceY == previousSourceRow_) {
            // Enlarging repeats rows: copy the one just made.
            std::memcpy(rows, rows - target_.stride, target_.stride);
            continue;
        }
        previousSourceRow_ = sourceY;
        stretchRow(source_.row(sourceY), offsets_.data(), reinterpret_cast<std::uint32_t*>(rows),
                   target_.width, source_.format);
    }
}

// Upright rows are stored columns. The rows of a group are made together,
// column by column, so that the source is read a row at a time.
void Stretcher::makeTurnedRows(int end)
{
    const int count = end - nextRow_;
    std::size_t columns[kRowsPerCheck];
    const auto step = static_cast<std::size_t>(bytesPerPixel(source_.format));
    for (int i = 0; i < count; ++i) {
        int sourceX = scale(nextRow_ + i, target_.height, source_.width);
        if (orientation_.mirrorY)
            sourceX = source_.width - 1 - sourceX;
        columns[i] = static_cast<std::size_t>(sourceX) * step;
    }
    auto* first =
        reinterpret_cast<std::uint32_t*>(target_.pixels.get() + nextRow_ * target_.stride);
    const std::size_t pitch = target_.stride / 4;
    for (int x = 0; x < target_.width; ++x) {
        const std::uint8_t* row = source_.pixels.get() + offsets_[x];
        for (int i = 0; i < count; ++i)
            first[i * pitch + x] = pixelAt(row + columns[i], source_.format);
    }
    nextRow_ = end;
}

bool Stretcher::step(Deadline deadline)
{
    // Rows that would end past the deadline wait for the next step.
    Deadline groupStart = SliceClock::now();
    SliceClock::duration group{};
    do {
        const int end = std::min(target_.height, nextRow_ + kRowsPerCheck);
        if (fresh_)
            touchPixels(target_.pixels.get() + nextRow_ * target_.stride,
                        static_cast<std::size_t>(end - nextRow_) * target_.stride);
        if (orientation_.transpose)
            makeTurnedRows(end);
        else
            makeRows(end);
        const Deadline now = SliceClock::now();
        group = now - groupStart;
        groupStart = now;
    } while (nextRow_ < target_.height && groupStart + group < deadline);
    return nextRow_ == target_.height;
}

} // namespace pictures
