#include "pictures/PictureMemory.h"

#include <new>
#include <sys/mman.h>

namespace pictures {

namespace {

constexpr std::size_t kPage = std::size_t{4} << 10;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a plain heap block is cheaper than a mapping of its own.
constexpr std::size_t kMapThreshold = std::size_t{4} << 20;
constexpr int kKeptBlocks = 2;
// Kept blocks up to this size (stretched frame images) may stay while a
// fresh block is mapped; larger ones are let go first.
constexpr std::size_t kSmallBlock = std::size_t{16} << 20;
// Touching fewer bytes than this costs more in the call than in faults.
constexpr std::size_t kMinTouch = std::size_t{64} << 10;

constexpr std::size_t roundUp(std::size_t n, std::size_t to)
{
    return (n + to - 1) / to * to;
}

struct Block {
    std::uint8_t* start;
    std::size_t length; // whole pages
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
    if (pageSize == PageSize::normal) {
        void* base =
            mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (base == MAP_FAILED)
            throw std::bad_alloc();
        madvise(base, length, MADV_NOHUGEPAGE);
        return {static_cast<std::uint8_t*>(base), length};
    }
    // Start on a huge-page boundary; only whole huge pages are advised, so
    // that the tail wastes at most one normal page.
    const std::size_t mapped = length + kHugePage;
    void* base = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        throw std::bad_alloc();
    auto* first = static_cast<std::uint8_t*>(base);
    auto* start = reinterpret_cast<std::uint8_t*>(
        roundUp(reinterpret_cast<std::uintptr_t>(first), kHugePage));
    if (start > first)
        munmap(first, static_cast<std::size_t>(start - first));
    if (first + mapped > start + length)
        munmap(start + length, static_cast<std::size_t>(first + mapped - (start + length)));
    if (length >= kHugePage)
        madvise(start, length / kHugePage * kHugePage, MADV_HUGEPAGE);
    return {start, length};
}

void unmap(const Block& block)
{
    munmap(block.start, block.length);
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

// The smallest kept block that holds `bytes` without wasting more than
// half of it; its surplus pages are given back.
bool takeKept(std::size_t bytes, Block& block)
{
    const std::size_t length = roundUp(bytes, kPage);
    int best = -1;
    for (int i = 0; i < kept.count; ++i) {
        const Block& b = kept.blocks[i];
        if (b.length >= length && b.length <= 2 * length &&
            (best < 0 || b.length < kept.blocks[best].length))
            best = i;
    }
    if (best < 0)
        return false;
    block = kept.blocks[best];
    forget(best);
    if (block.length > length)
        munmap(block.start + length, block.length - length);
    block.length = length;
    return true;
}

void releaseLargeKept()
{
    for (int i = kept.count - 1; i >= 0; --i)
        if (kept.blocks[i].length > kSmallBlock) {
            unmap(kept.blocks[i]);
            forget(i);
        }
}

std::shared_ptr<std::uint8_t[]> heapBlock(std::size_t bytes)
{
    return std::shared_ptr<std::uint8_t[]>(new std::uint8_t[bytes == 0 ? 1 : bytes]);
}

} // namespace

std::shared_ptr<std::uint8_t[]> allocatePixels(std::size_t bytes)
{
    if (bytes < kMapThreshold)
        return heapBlock(bytes);
    Block block{};
    if (!takeKept(bytes, block)) {
        releaseLargeKept();
        block = mapBlock(bytes);
    }
    return std::shared_ptr<std::uint8_t[]>(block.start, [block](std::uint8_t*) { keep(block); });
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
    // Older kernels refuse it; then the pages fault in as they are written.
    madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
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
