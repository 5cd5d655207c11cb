#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pictures {

// Uninitialised memory for a bitmap of `bytes` bytes, aligned for any
// pixel type. Large blocks come from the kernel in huge pages, already
// mapped, so that filling them costs no page fault per 4 KiB.
std::shared_ptr<std::uint8_t[]> allocatePixels(std::size_t bytes);

} // namespace pictures
