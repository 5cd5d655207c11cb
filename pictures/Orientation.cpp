#include "pictures/Orientation.h"

#include <cstring>

namespace pictures {

namespace {

constexpr std::uint8_t kApp1 = 0xE1, kSos = 0xDA, kEoi = 0xD9;
constexpr std::uint16_t kOrientationTag = 0x0112, kShort = 3;
constexpr std::size_t kEntryBytes = 12;

// The TIFF structure inside the APP1 segment, in its byte order.
class Tiff {
  public:
    Tiff(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool readOrder()
    {
        if (size_ < 8)
            return false;
        if (data_[0] == 'I' && data_[1] == 'I')
            little_ = true;
        else if (!(data_[0] == 'M' && data_[1] == 'M'))
            return false;
        return u16(2) == 42;
    }
    bool fits(std::size_t at, std::size_t bytes) const
    {
        return at <= size_ && bytes <= size_ - at;
    }
    std::uint16_t u16(std::size_t at) const
    {
        const unsigned a = data_[at], b = data_[at + 1];
        return static_cast<std::uint16_t>(little_ ? b << 8 | a : a << 8 | b);
    }
    std::uint32_t u32(std::size_t at) const
    {
        const std::uint32_t a = u16(at), b = u16(at + 2);
        return little_ ? b << 16 | a : a << 16 | b;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    bool little_ = false;
};

int orientationInTiff(const std::uint8_t* data, std::size_t size)
{
    Tiff tiff(data, size);
    if (!tiff.readOrder())
        return 1;
    const std::size_t ifd = tiff.u32(4);
    if (!tiff.fits(ifd, 2))
        return 1;
    const std::size_t entries = tiff.u16(ifd);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = ifd + 2 + i * kEntryBytes;
        if (!tiff.fits(entry, kEntryBytes))
            return 1;
        if (tiff.u16(entry) != kOrientationTag)
            continue;
        const int value = tiff.u16(entry + 8);
        const bool valid =
            tiff.u16(entry + 2) == kShort && tiff.u32(entry + 4) >= 1 && value >= 1 && value <= 8;
        return valid ? value : 1;
    }
    return 1;
}

} // namespace

Orientation Orientation::fromExif(int value)
{
    if (value < 1 || value > 8)
        return {};
    return {value >= 5, value == 2 || value == 3 || value == 6 || value == 7,
            value == 3 || value == 4 || value == 7 || value == 8};
}

int exifOrientation(const std::uint8_t* data, std::size_t size)
{
    static constexpr std::uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
    // The segments before the first scan: marker, two length bytes, content.
    std::size_t pos = 2;
    while (pos + 4 <= size && data[pos] == 0xFF) {
        const std::uint8_t marker = data[pos + 1];
        if (marker == 0xFF) { // a fill byte
            ++pos;
            continue;
        }
        if (marker == kSos || marker == kEoi)
            return 1;
        const std::size_t length = std::size_t{data[pos + 2]} << 8 | data[pos + 3];
        if (length < 2 || length > size - pos - 2)
            return 1;
        const std::uint8_t* content = data + pos + 4;
        const std::size_t contentSize = length - 2;
        if (marker == kApp1 && contentSize >= sizeof kExif &&
            std::memcmp(content, kExif, sizeof kExif) == 0)
            return orientationInTiff(content + sizeof kExif, contentSize - sizeof kExif);
        pos += 2 + length;
    }
    return 1;
}

Bitmap uprightBitmap(const Bitmap& stored, Orientation orientation)
{
    if (orientation == Orientation{} || !stored.pixels)
        return stored;
    const int pixel = static_cast<int>(stored.stride / static_cast<std::size_t>(stored.width));
    Bitmap upright;
    upright.format = stored.format;
    upright.width = orientation.transpose ? stored.height : stored.width;
    upright.height = orientation.transpose ? stored.width : stored.height;
    upright.stride = static_cast<std::size_t>(upright.width) * static_cast<std::size_t>(pixel);
    upright.pixels = std::shared_ptr<std::uint8_t[]>(
        new std::uint8_t[upright.stride * static_cast<std::size_t>(upright.height)]);
    for (int y = 0; y < upright.height; ++y) {
        std::uint8_t* row = upright.pixels.get() + static_cast<std::size_t>(y) * upright.stride;
        const int my = orientation.mirrorY ? upright.height - 1 - y : y;
        for (int x = 0; x < upright.width; ++x) {
            const int mx = orientation.mirrorX ? upright.width - 1 - x : x;
            const int sx = orientation.transpose ? my : mx, sy = orientation.transpose ? mx : my;
            const auto bytes = static_cast<std::size_t>(pixel);
            std::memcpy(row + static_cast<std::size_t>(x) * bytes,
                        stored.row(sy) + static_cast<std::size_t>(sx) * bytes, bytes);
        }
    }
    return upright;
}

} // namespace pictures
