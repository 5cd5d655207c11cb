#include "pictures/AnonymousJpeg.h"

#include "pictures/Orientation.h"

#include <cstdint>

namespace pictures {

namespace {

constexpr unsigned char kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kTem = 0x01, kApp0 = 0xE0,
                        kApp1 = 0xE1, kApp2 = 0xE2, kApp14 = 0xEE, kApp15 = 0xEF, kCom = 0xFE;

bool isRestart(unsigned char marker)
{
    return marker >= 0xD0 && marker <= 0xD7;
}

bool isFrame(unsigned char marker)
{
    // SOF0..SOF15 without DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool startsWith(std::string_view payload, std::string_view identifier)
{
    return payload.substr(0, identifier.size()) == identifier;
}

// Whether an APP segment with this payload stays in the anonymous copy.
bool kept(unsigned char marker, std::string_view payload)
{
    using namespace std::string_view_literals;
    return (marker == kApp0 && startsWith(payload, "JFIF\0"sv)) ||
           (marker == kApp2 && startsWith(payload, "ICC_PROFILE\0"sv)) ||
           (marker == kApp14 && startsWith(payload, "Adobe"sv));
}

// APP1 with an EXIF structure of one entry: the orientation.
std::string orientationSegment(int orientation)
{
    const std::string tiff = std::string("MM\0\x2A\0\0\0\x08", 8) +       // big-endian, IFD0 at 8
                             std::string("\0\x01", 2) +                   // one entry
                             std::string("\x01\x12\0\x03\0\0\0\x01", 8) + // SHORT, count 1
                             static_cast<char>(0) + static_cast<char>(orientation) +
                             std::string(2, '\0') + // the value, padded
                             std::string(4, '\0');  // no next IFD
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = payload.size() + 2;
    return std::string{'\xFF', static_cast<char>(kApp1), static_cast<char>(length >> 8),
                       static_cast<char>(length & 0xFF)} +
           payload;
}

} // namespace

std::optional<std::string> withoutAuthor(std::string_view jpeg)
{
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(jpeg[at]); };
    if (jpeg.size() < 4 || byte(0) != 0xFF || byte(1) != kSoi)
        return std::nullopt;
    const int orientation =
        exifOrientation(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size());
    std::string copy(jpeg.substr(0, 2));
    bool frame = false, scan = false, orientationWritten = orientation == 1;
    std::size_t at = 2;
    while (true) {
        if (at >= jpeg.size() || byte(at) != 0xFF)
            return std::nullopt; // a marker must come here
        while (at < jpeg.size() && byte(at) == 0xFF)
            ++at; // fill bytes
        if (at >= jpeg.size())
            return std::nullopt;
        const unsigned char marker = byte(at++);
        if (marker == kEoi) {
            if (!frame || !scan)
                return std::nullopt;
            return copy + "\xFF\xD9";
        }
        if (marker == 0x00 || marker == kTem || marker == kSoi || isRestart(marker))
            return std::nullopt; // never outside a scan's data
        if (at + 2 > jpeg.size())
            return std::nullopt;
        const std::size_t length = std::size_t{byte(at)} << 8 | byte(at + 1);
        if (length < 2 || length > jpeg.size() - at)
            return std::nullopt;
        const std::string_view segment = jpeg.substr(at - 2, length + 2);
        const std::string_view payload = segment.substr(4);
        at += length;
        if (marker >= kApp0 && marker <= kApp15) {
            if (kept(marker, payload))
                copy += segment;
            else if (marker == kApp1 && !orientationWritten) {
                copy += orientationSegment(orientation); // where the EXIF stood
                orientationWritten = true;
            }
            continue;
        }
        if (marker == kCom)
            continue;
        if (isFrame(marker)) {
            if (frame)
                return std::nullopt; // one frame per picture
            frame = true;
        }
        copy += segment;
        if (marker != kSos)
            continue;
        if (!frame)
            return std::nullopt;
        scan = true;
        // The compressed data: up to a marker that is neither a stuffed 0
        // nor a restart.
        const std::size_t start = at;
        while (at + 1 < jpeg.size() && !(byte(at) == 0xFF && byte(at + 1) != 0x00 &&
                                         !isRestart(byte(at + 1)) && byte(at + 1) != 0xFF))
            ++at;
        if (at + 1 >= jpeg.size())
            return std::nullopt; // the file ends inside the data
        // Fill bytes before the marker are no data.
        std::size_t end = at;
        while (end > start && byte(end - 1) == 0xFF)
            --end;
        copy += jpeg.substr(start, end - start);
        at = end;
    }
}

} // namespace pictures
