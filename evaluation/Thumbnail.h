#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace evaluation {

// Pictures above these are refused before decoding, and libjpeg may hold
// at most kMaxDecoderBytes (a progressive file keeps all its coefficients).
inline constexpr long long kMaxPixels = 400'000'000;
inline constexpr long kMaxDecoderBytes = 512L << 20;
inline constexpr long long kMaxFileBytes = 256LL << 20;

struct Thumbnail {
    int width = 0;
    int height = 0;
    int channels = 3;                 // 3: RGB, 1: grey
    std::vector<std::uint8_t> pixels; // rows of width * channels bytes
    int scaleDenominator = 0;         // the DCT scaling libjpeg used: 1/8, 1/4, ...
    bool ok = false;
    std::optional<int> jpegError; // libjpeg's message code when it failed
};

// The largest of 1/8, 1/4, 1/2 and 1/1 that still leaves the picture's
// longer side at least `longSide` pixels.
int scaleDenominatorFor(int width, int height, int longSide);

// The picture decoded at reduced size through libjpeg's DCT scaling: only
// the coefficients the small picture needs are transformed. Never throws
// for a bad file; `ok` is false then.
Thumbnail readThumbnail(const std::string& path, int longSide);

// Runs job(0) ... job(count - 1) on all cores; rethrows the first exception.
void parallelFor(std::size_t count, const std::function<void(std::size_t)>& job);

} // namespace evaluation
