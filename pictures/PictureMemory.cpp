#include "pictures/PictureMemory.h"

#include "core/Platform.h"
#include "core/Tunables.h"

#include <algorithm>
#include <new>

namespace pictures {

namespace {

constexpr std::size_t kPage = std::size_t{4} << 10;
using tunables::kKeptBlocks;
using tunables::kMapThreshold;
using tunables::kMinTouch;
constexpr std::size_t kSmallBlock = tunables::kSmallKeptBlock;

constexpr std::size_t roundUp(std::size_t n, std::size_t to)
{
    return (n + to - 1) / to * to;
}

struct Block {
    std::uint8_t* start;
    std::size_t length; // whole pages
    bool going;         // being let go of, piece by piece
};

// Plain data that is never destroyed: releases may come during exit.
struct Kept {
    Block blocks[kKeptBlocks];
    int count;
};
constinit Kept kept{};
constinit PageSize pageSize = PageSize::normal;

Block mapBlock(std::size_t bytes)
{
    const std::size_t length = roundUp(bytes, kPage);
    std::uint8_t* start = platform::mapPages(length, pageSize == PageSize::huge);
    if (!start)
        throw std::bad_alloc();
    return {start, length, false};
}

void unmap(const Block& block)
{
    platform::unmapPages(block.start, block.length);
}

void keep(const Block& block)
{
    if (kept.count == kKeptBlocks) { // the oldest goes
        unmap(kept.blocks[0]);
        for (int i = 1; i < kKeptBlocks; ++i)
            kept.blocks[i - 1] = kept.blocks[i];
        --kept.count;
    }
    kept.blocks[kept.count++] = block;
}

void forget(int index)
{
    for (int i = index + 1; i < kept.count; ++i)
        kept.blocks[i - 1] = kept.blocks[i];
    --kept.count;
}

bool fits(const Block& block, std::size_t length)
{
    return block.length >= length && block.length <= 2 * length;
}

// The smallest kept block that holds `bytes` without wasting more than
// half of it; its surplus pages are given back.
bool takeKept(std::size_t bytes, Block& block)
{
    const std::size_t length = roundUp(bytes, kPage);
    int best = -1;
    for (int i = 0; i < kept.count; ++i) {
        const Block& b = kept.blocks[i];
        if (fits(b, length) && (best < 0 || b.length < kept.blocks[best].length))
            best = i;
    }
    if (best < 0)
        return false;
    block = kept.blocks[best];
    forget(best);
    if (block.length > length)
        platform::unmapPages(block.start + length, block.length - length);
    block.length = length;
    block.going = false;
    return true;
}

constexpr std::size_t kReleasePiece = tunables::kUnmapPiece;

bool anyFits(std::size_t length)
{
    for (int i = 0; i < kept.count; ++i)
        if (fits(kept.blocks[i], length))
            return true;
    return false;
}

// Lets go of large kept blocks that a request of `bytes` cannot use, a
// piece at a time while `more` says so; true when none is left or one of
// them, shortened, fits.
template <typename More> bool releaseUnfit(std::size_t bytes, More more)
{
    const std::size_t length = roundUp(bytes, kPage);
    if (bytes <= kSmallBlock)
        return true; // a small fresh block stays within the slack
    for (bool first = true;; first = false) {
        if (anyFits(length))
            return true;
        int large = -1;
        for (int i = 0; i < kept.count; ++i)
            if (kept.blocks[i].going || kept.blocks[i].length > kSmallBlock)
                large = i;
        if (large < 0)
            return true;
        if (!first && !more())
            return false;
        Block& block = kept.blocks[large];
        block.going = true;
        const std::size_t piece = std::min(kReleasePiece, block.length);
        block.length -= piece;
        platform::unmapPages(block.start + block.length, piece);
        if (block.length == 0)
            forget(large);
    }
}

std::shared_ptr<std::uint8_t[]> heapBlock(std::size_t bytes)
{
    return std::shared_ptr<std::uint8_t[]>(new std::uint8_t[bytes == 0 ? 1 : bytes]);
}

} // namespace

std::shared_ptr<std::uint8_t[]> allocatePixels(std::size_t bytes, bool* fresh)
{
    if (fresh)
        *fresh = false;
    if (bytes < kMapThreshold)
        return heapBlock(bytes);
    Block block{};
    if (!takeKept(bytes, block)) {
        releaseUnfit(bytes, [] { return true; });
        if (!takeKept(bytes, block)) {
            block = mapBlock(bytes);
            if (fresh)
                *fresh = true;
        }
    }
    return std::shared_ptr<std::uint8_t[]>(block.start, [block](std::uint8_t*) { keep(block); });
}

bool makeRoomForPixels(std::size_t bytes, Deadline deadline)
{
    return releaseUnfit(bytes, [deadline] { return SliceClock::now() < deadline; });
}

std::shared_ptr<std::uint8_t[]> allocateBytes(std::size_t bytes)
{
    if (bytes < kMapThreshold)
        return heapBlock(bytes);
    const Block block = mapBlock(bytes);
    touchPixels(block.start, bytes);
    return std::shared_ptr<std::uint8_t[]>(block.start, [block](std::uint8_t*) { unmap(block); });
}

void touchPixels(std::uint8_t* at, std::size_t bytes)
{
    if (bytes < kMinTouch)
        return;
    const auto from = reinterpret_cast<std::uintptr_t>(at) / kPage * kPage;
    const auto to = roundUp(reinterpret_cast<std::uintptr_t>(at) + bytes, kPage);
    platform::populatePages(reinterpret_cast<void*>(from), to - from);
}

std::size_t keptPixelBytes()
{
    std::size_t total = 0;
    for (int i = 0; i < kept.count; ++i)
        total += kept.blocks[i].length;
    return total;
}

void releaseKeptPixels()
{
    while (kept.count > 0) {
        unmap(kept.blocks[kept.count - 1]);
        --kept.count;
    }
}

void usePageSize(PageSize size)
{
    pageSize = size;
}

} // namespace pictures
