#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace evaluation {

struct Thumbnail {
    int width = 0;
    int height = 0;
    int channels = 3;                 // 3: RGB, 1: grey
    std::vector<std::uint8_t> pixels; // rows of width * channels bytes
    int scaleDenominator = 0;         // the DCT scaling libjpeg used: 1/8, 1/4, ...
    bool ok = false;
    std::optional<int> jpegError; // libjpeg's message code when it failed
    // The pixels as baseline JPEGs for the page and for the PDF, encoded once
    // when the picture is read, so writing the files again encodes nothing.
    std::string pageJpeg;
    std::string printJpeg;
};

// The picture upright (EXIF orientation), its longer side at most
// `longSide`: decoded with the judging program's scaled decode, so only the
// coefficients the small picture needs are transformed and a picture
// beyond the judging program's decode budget is refused the same way.
// Never throws for a bad file; `ok` is false then.
Thumbnail readThumbnail(const std::string& path, int longSide);

// The pixels shrunk so that the longer side is at most `side`, by averaging
// the source pixels each target pixel covers; a smaller picture is copied.
Thumbnail shrink(const std::uint8_t* pixels, std::size_t stride, int width, int height,
                 int channels, int side);
Thumbnail shrink(const Thumbnail& source, int side);

// The pixels as a baseline JPEG of `quality` (grey stays grey); empty
// when there are no pixels.
std::string encodeJpeg(const Thumbnail& thumbnail, int quality);

// Runs job(0) ... job(count - 1) on all cores; rethrows the first exception.
void parallelFor(std::size_t count, const std::function<void(std::size_t)>& job);

} // namespace evaluation
