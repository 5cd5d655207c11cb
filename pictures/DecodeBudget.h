#pragma once

#include "core/Tunables.h"

#include <cstddef>
#include <cstdint>
#include <span>

// What one picture may cost, against the limits of core/Tunables.h: a
// small file that declares a huge picture or thousands of scans is refused
// from its header, before any memory is taken.
namespace pictures::budget {

struct Cost {
    std::uint64_t pixels = 0;
    std::uint64_t bytes = 0;       // bitmap and coefficient buffers
    std::uint64_t blockVisits = 0; // blocks read over all scans
};

inline bool affordable(const Cost& cost)
{
    return cost.pixels <= tunables::kMaxPixels && cost.bytes <= tunables::kMaxDecodeBytes &&
           cost.blockVisits <= tunables::kMaxBlockVisits;
}

// A decode's share of the process budget (tunables::kMaxProcessDecodeBytes),
// held while it lives: taking it waits, in the order asked, until the bytes
// fit beside the shares of the decodes under way. A single share never
// waits for itself (more than the budget is taken as the whole budget).
class ProcessShare {
  public:
    explicit ProcessShare(std::uint64_t bytes);
    ~ProcessShare();
    ProcessShare(const ProcessShare&) = delete;
    ProcessShare& operator=(const ProcessShare&) = delete;

    // Decodes waiting for their share now: for tests.
    static int waiting();

  private:
    std::uint64_t bytes_;
};

struct ComponentBlocks {
    int id = 0; // the component identifier of the frame header
    std::uint64_t blocks = 0;
};

// Sums, over the scans of the JPEG in `data`, the blocks of the components
// each scan names, walking the markers as libjpeg reads them.
std::uint64_t countBlockVisits(const std::uint8_t* data, std::size_t size,
                               std::span<const ComponentBlocks> components);

} // namespace pictures::budget
