#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// What one picture may cost. A small file can declare a huge picture or
// thousands of scans; such files are refused from their header, before
// any memory is taken, instead of holding the window for seconds and
// gigabytes. Real photographs up to 100 megapixels stay well inside.
namespace pictures::budget {

// A picture file larger than this is not a photograph.
inline constexpr std::uint64_t kMaxFileBytes = std::uint64_t{512} << 20;
// Decoding time grows with the pixels: this many decode in about 1.4 s here.
inline constexpr std::uint64_t kMaxPixels = 200'000'000;
// The bitmap plus libjpeg's whole-picture coefficient buffers (progressive
// and multi-scan files keep every block of every component).
inline constexpr std::uint64_t kMaxDecodeBytes = std::uint64_t{3} << 29; // 1.5 GiB
// Blocks read over all scans: each scan visits every block of its
// components, so empty scans repeated a thousand times cost seconds.
inline constexpr std::uint64_t kMaxBlockVisits = 100'000'000;

struct Cost {
    std::uint64_t pixels = 0;
    std::uint64_t bytes = 0;       // bitmap and coefficient buffers
    std::uint64_t blockVisits = 0; // blocks read over all scans
};

inline bool affordable(const Cost& cost)
{
    return cost.pixels <= kMaxPixels && cost.bytes <= kMaxDecodeBytes &&
           cost.blockVisits <= kMaxBlockVisits;
}

struct ComponentBlocks {
    int id = 0; // the component identifier of the frame header
    std::uint64_t blocks = 0;
};

// Sums, over the scans of the JPEG in `data`, the blocks of the components
// each scan names, walking the markers as libjpeg reads them.
std::uint64_t countBlockVisits(const std::uint8_t* data, std::size_t size,
                               std::span<const ComponentBlocks> components);

} // namespace pictures::budget
