#pragma once

// The limits and tunables of the three programs, in one place: the judging
// program and the evaluation refuse the same pictures and read the same
// files.

#include <chrono>
#include <cstddef>
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
// An arithmetic-coded block costs about three Huffman-coded ones to read
// (bench_hostile); its visits count so many times.
inline constexpr std::uint64_t kArithmeticBlockCost = 3;
// What the decodes running at once in one process may declare together
// (the evaluation decodes on every core): as much as one picture may, so
// the peak stays within one picture's promise whatever the number of cores
// (bench_hostile: 8 such files on 8 threads).
inline constexpr std::uint64_t kMaxProcessDecodeBytes = kMaxDecodeBytes;

// Text files (weighting, rating files, entrant lists).

// Far above any real weighting or rating file (100,000 rating lines take
// about 5 MiB); a larger file is taken for something else. A bound, not a
// speed: no benchmark.
inline constexpr std::size_t kMaxTextFileBytes = std::size_t{64} << 20;
// A save takes milliseconds; a temporary file this old is a crash's
// leftover and goes at the next save. A bound, not a speed: no benchmark.
inline constexpr std::chrono::seconds kStaleTemporaryAge{60};

// The judging program's event loop.

// The one-shot timers that defer reading pictures until the window shows.
inline constexpr std::chrono::milliseconds kPreloadTimerInterval{100};
// One slice of decoding or stretching between events.
inline constexpr std::chrono::microseconds kSliceBudget{4000};

// Inside a slice: how much work passes between two looks at the clock.
// bench_slices shows the longest slice they allow; bench_hostile the same
// for the costliest files.

// The suspending source's input portion: libjpeg backs up to the start of
// a marker it could not read whole, so the first of a step holds the longest
// usual one (tables: a few hundred bytes); later ones double up to the
// largest (bench_slices, progressive).
inline constexpr std::size_t kMinInputPortion = std::size_t{2} << 10;
inline constexpr std::size_t kMaxInputPortion = std::size_t{32} << 10;
// Output rows asked of libjpeg in one call: the largest row group it makes
// (bench_slices).
inline constexpr unsigned kDecodeRowsPerCall = 16;
// Fresh bitmap pages faulted in this many rows at a time: 32 rows of a
// 45-megapixel bitmap are 768 KiB, one call (bench_pages).
inline constexpr unsigned kTouchRows = 32;
// The coefficients' memory goes back after the last row in pieces of this,
// the clock looked at after each (bench_hostile, longest slice).
inline constexpr std::size_t kCoefficientReleasePiece = std::size_t{2} << 20;
// A row of a frame-sized stretched image takes microseconds: the clock is
// looked at after this many (bench_slices).
inline constexpr int kStretchRowsPerCheck = 16;

// Bitmap memory: freed bitmap blocks are kept for the next decode of their
// size, so a move neither maps nor faults in a fresh bitmap (bench_memory:
// peak memory and move cost; bench_pages: decode into a kept block).

// Below this a plain heap block is cheaper than a mapping of its own.
inline constexpr std::size_t kMapThreshold = std::size_t{4} << 20;
// Blocks kept after their bitmap was freed.
inline constexpr int kKeptBlocks = 2;
// Kept blocks up to this size (stretched frame images) may stay while a
// fresh block is mapped; larger ones are let go first.
inline constexpr std::size_t kSmallKeptBlock = std::size_t{16} << 20;
// Faulting in fewer bytes than this costs more in the call than in faults
// (bench_pages).
inline constexpr std::size_t kMinTouch = std::size_t{64} << 10;
// Unmapping a large block costs about a millisecond per 16 MiB: it is let
// go in pieces of this from its end, spread over slices (bench_slices shows
// where the longest slice fell).
inline constexpr std::size_t kUnmapPiece = std::size_t{16} << 20;

} // namespace tunables
