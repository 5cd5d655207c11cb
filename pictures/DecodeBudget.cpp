#include "pictures/DecodeBudget.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace pictures::budget {

namespace {

constexpr std::uint8_t kSos = 0xDA, kEoi = 0xD9, kRst0 = 0xD0, kRst7 = 0xD7, kTem = 0x01;

bool isRestart(std::uint8_t marker)
{
    return marker >= kRst0 && marker <= kRst7;
}

std::uint64_t blocksOf(int id, std::span<const ComponentBlocks> components)
{
    for (const ComponentBlocks& c : components)
        if (c.id == id)
            return c.blocks;
    return 0;
}

struct Shares {
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t taken = 0;
    std::uint64_t nextTicket = 0; // first come, first served: a large
    std::uint64_t serving = 0;    // decode is not passed by small ones forever
    int waiting = 0;
};

Shares& shares()
{
    static Shares instance;
    return instance;
}

} // namespace

ProcessShare::ProcessShare(std::uint64_t bytes)
    : bytes_(std::min(bytes, tunables::kMaxProcessDecodeBytes))
{
    Shares& all = shares();
    std::unique_lock lock(all.mutex);
    const std::uint64_t ticket = all.nextTicket++;
    ++all.waiting;
    all.changed.wait(lock, [&] {
        return all.serving == ticket && all.taken + bytes_ <= tunables::kMaxProcessDecodeBytes;
    });
    --all.waiting;
    all.taken += bytes_;
    ++all.serving;
    all.changed.notify_all();
}

ProcessShare::~ProcessShare()
{
    Shares& all = shares();
    {
        const std::lock_guard lock(all.mutex);
        all.taken -= bytes_;
    }
    all.changed.notify_all();
}

int ProcessShare::waiting()
{
    Shares& all = shares();
    const std::lock_guard lock(all.mutex);
    return all.waiting;
}

std::uint64_t countBlockVisits(const std::uint8_t* data, std::size_t size,
                               std::span<const ComponentBlocks> components)
{
    std::uint64_t visits = 0;
    std::size_t pos = 2; // after the start marker
    // Every read stays inside [data, data + size): a marker cut by the end of
    // the file ends the walk, as it ends libjpeg's reading.
    while (pos + 1 < size) {
        const std::uint8_t marker = data[pos + 1];
        if (data[pos] != 0xFF || marker == 0xFF) { // junk or fill bytes
            ++pos;
            continue;
        }
        if (marker == kEoi)
            break;
        if (marker == kTem || marker == 0 || isRestart(marker)) {
            pos += 2;
            continue;
        }
        if (size - pos < 4)
            break;
        const std::size_t length = std::size_t{data[pos + 2]} << 8 | data[pos + 3];
        if (marker == kSos) {
            if (size - pos < 5)
                break;
            const std::size_t count = data[pos + 4];
            for (std::size_t i = 0; i < count && pos + 5 + 2 * i < size; ++i)
                visits += blocksOf(data[pos + 5 + 2 * i], components);
            // The entropy-coded data runs to the next marker that is neither a
            // stuffed 0xFF00 nor a restart.
            for (pos += 2 + length; pos + 1 < size; ++pos)
                if (data[pos] == 0xFF && data[pos + 1] != 0 && !isRestart(data[pos + 1]))
                    break;
            continue;
        }
        pos += 2 + length;
    }
    return visits;
}

} // namespace pictures::budget
