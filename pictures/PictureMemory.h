#pragma once

#include "pictures/Slices.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pictures {

// Uninitialised memory for a bitmap of `bytes` bytes, aligned for any
// pixel type. A large block is a mapping of its own whose pages are faulted
// in as they are written, or ahead with touchPixels. When its last holder
// goes it is kept for the next bitmap that fits (a move pushes one picture
// out, the preload decodes the next one of the same size into its pages),
// instead of being unmapped and fresh zeroed pages faulted in again.
// `fresh`, when given, tells whether the pages are new: only those are
// worth touching ahead (asking for pages already there costs about as
// much as writing them).
std::shared_ptr<std::uint8_t[]> allocatePixels(std::size_t bytes, bool* fresh = nullptr);

// Lets go, in pieces until `deadline` (at least one), of the kept blocks
// that a bitmap of `bytes` could not use, which allocatePixels would
// otherwise let go of at once (a large block costs milliseconds to unmap).
// True when allocatePixels(bytes) has nothing more to let go of.
bool makeRoomForPixels(std::size_t bytes, Deadline deadline);

// Like allocatePixels, but never taken from nor given to the kept blocks,
// and faulted in at once: for a file's bytes, read in one piece and
// dropped once decoded.
std::shared_ptr<std::uint8_t[]> allocateBytes(std::size_t bytes);

// Faults in the pages of [at, at + bytes) with one kernel call instead of
// one fault per page; a no-op for short ranges and pages already there.
void touchPixels(std::uint8_t* at, std::size_t bytes);

// The blocks kept for reuse: at most two, and never more than 16 MiB of them
// while a fresh block larger than that is mapped, so that the peak stays
// that of the bitmaps alive at once plus the stretched images.
std::size_t keptPixelBytes();
void releaseKeptPixels();

// Huge pages cost fewer faults but the kernel may have to compact memory to
// find them; measured on cold memory, bench_memory compares both.
enum class PageSize { normal, huge };
void usePageSize(PageSize size);

} // namespace pictures
