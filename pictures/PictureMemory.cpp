#include "pictures/PictureMemory.h"

#include <new>
#include <sys/mman.h>

namespace pictures {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a plain heap block is cheaper than a mapping of its own.
constexpr std::size_t kMapThreshold = std::size_t{4} << 20;

std::shared_ptr<std::uint8_t[]> mapPixels(std::size_t bytes)
{
    // Over-allocate so that the block can start on a huge-page boundary.
    const std::size_t length = (bytes + 2 * kHugePage - 1) & ~(kHugePage - 1);
    void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        throw std::bad_alloc();
    const auto address = reinterpret_cast<std::uintptr_t>(base);
    auto* start = reinterpret_cast<std::uint8_t*>((address + kHugePage - 1) & ~(kHugePage - 1));
    const std::size_t used = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    madvise(start, used, MADV_HUGEPAGE);
    // Fault the pages in at once: one kernel call instead of one fault per
    // page while libjpeg writes the rows. Older kernels refuse it; then the
    // pages simply fault in as they are written.
    madvise(start, used, MADV_POPULATE_WRITE);
    return std::shared_ptr<std::uint8_t[]>(start,
                                           [base, length](std::uint8_t*) { munmap(base, length); });
}

} // namespace

std::shared_ptr<std::uint8_t[]> allocatePixels(std::size_t bytes)
{
    if (bytes >= kMapThreshold)
        return mapPixels(bytes);
    return std::shared_ptr<std::uint8_t[]>(new std::uint8_t[bytes == 0 ? 1 : bytes]);
}

} // namespace pictures
