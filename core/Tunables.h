#pragma once

// The limits and tunables of the three programs, in one place: the judging
// program and the evaluation refuse the same pictures and read the same
// files.

#include <chrono>
#include <cstdint>

namespace tunables {

// What one picture may cost: within 2 s of work and 1.6 GB at the peak (with
// the neighbours' bitmaps) on a small two-core machine, measured by
// bench_hostile at the edge of each limit. A small file can declare a huge
// picture or thousands of scans; such files are refused from their header,
// before any memory is taken. Real photographs up to 150 megapixels stay
// inside (progressive 4:4:4 ones up to 100, arithmetic-coded ones up to 60).

// A picture file larger than this is not a photograph.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{512} << 20;
// The output pass costs most per pixel (grey: the quantizer's dithering;
// progressive: block smoothing).
inline constexpr std::uint64_t kMaxPixels = 160'000'000;
// The bitmap plus libjpeg's whole-picture coefficient buffers (progressive
// and multi-scan files keep every block of every component).
inline constexpr std::uint64_t kMaxDecodeBytes = std::uint64_t{1} << 30;
// Blocks read over all scans: each scan visits every block of its
// components, so empty scans repeated a thousand times cost seconds.
inline constexpr std::uint64_t kMaxBlockVisits = 40'000'000;
// A backstop behind the block visits, counted while decoding.
inline constexpr int kMaxScans = 1000;

// The judging program's event loop.

// The one-shot timers that defer reading pictures until the window shows.
inline constexpr std::chrono::milliseconds kPreloadTimerInterval{100};
// One slice of decoding or stretching between events.
inline constexpr std::chrono::microseconds kSliceBudget{4000};

} // namespace tunables
