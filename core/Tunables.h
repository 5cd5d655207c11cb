#pragma once

// The limits and tunables of the three programs, in one place: the judging
// program and the evaluation refuse the same pictures and read the same
// files.

#include <chrono>
#include <cstdint>

namespace tunables {

// What one picture may cost. A small file can declare a huge picture or
// thousands of scans; such files are refused from their header, before any
// memory is taken. Real photographs up to 100 megapixels stay inside.

// A picture file larger than this is not a photograph.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{512} << 20;
// Decoding time grows with the pixels.
inline constexpr std::uint64_t kMaxPixels = 200'000'000;
// The bitmap plus libjpeg's whole-picture coefficient buffers (progressive
// and multi-scan files keep every block of every component).
inline constexpr std::uint64_t kMaxDecodeBytes = std::uint64_t{3} << 29; // 1.5 GiB
// Blocks read over all scans: each scan visits every block of its
// components, so empty scans repeated a thousand times cost seconds.
inline constexpr std::uint64_t kMaxBlockVisits = 100'000'000;
// A backstop behind the block visits, counted while decoding.
inline constexpr int kMaxScans = 1000;

// The judging program's event loop.

// The one-shot timers that defer reading pictures until the window shows.
inline constexpr std::chrono::milliseconds kPreloadTimerInterval{100};
// One slice of decoding or stretching between events.
inline constexpr std::chrono::microseconds kSliceBudget{4000};

// The evaluation's thumbnails: the longer side in pixels.
inline constexpr int kThumbnailSide = 240;

} // namespace tunables
