// libFuzzer target for a thumbnail cache entry, a file in the user's cache
// folder read back on the next run: a damaged or misfitting one is refused,
// and a thumbnail taken from one is fit for the outputs as it stands and
// reads the same when written again.

#include "evaluation/Tunables.h"
#include "evaluation/outputs/ThumbnailCacheEntry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

namespace entry = evaluation::cacheentry;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_cache_entry: %s\n", what);
    std::abort();
}

// The key the entry itself names (after its 4-byte mark, 8 bytes of length):
// a random key would stop every input at the first check.
std::string keyIn(std::string_view bytes)
{
    if (bytes.size() < 12)
        return {};
    std::uint64_t length = 0;
    for (int i = 0; i < 8; ++i)
        length |= std::uint64_t(static_cast<unsigned char>(bytes[4 + std::size_t(i)])) << (8 * i);
    return length <= bytes.size() - 12 ? std::string(bytes.substr(12, std::size_t(length)))
                                       : std::string();
}

bool same(const evaluation::Thumbnail& a, const evaluation::Thumbnail& b)
{
    return a.width == b.width && a.height == b.height && a.channels == b.channels &&
           a.scaleDenominator == b.scaleDenominator && a.ok == b.ok &&
           a.decodeError == b.decodeError && a.pageJpeg == b.pageJpeg && a.printJpeg == b.printJpeg;
}

void check(const std::string& key, std::string_view bytes)
{
    const auto thumbnail = entry::decode(key, bytes);
    if (!thumbnail)
        return;
    if (thumbnail->channels != 1 && thumbnail->channels != 3)
        fail("taken with neither 1 nor 3 channels");
    if (thumbnail->ok &&
        (thumbnail->width <= 0 || thumbnail->height <= 0 ||
         std::max(thumbnail->width, thumbnail->height) > tunables::kThumbnailSide ||
         thumbnail->pageJpeg.empty() || thumbnail->printJpeg.empty()))
        fail("taken with a size or JPEGs no thumbnail has");
    const auto again = entry::decode(key, entry::encode(key, *thumbnail));
    if (!again || !same(*thumbnail, *again))
        fail("written again, it reads differently");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string key = keyIn(bytes);
    check(key, bytes);
    // With its checksum made right, the fuzzer reaches what the entry holds.
    if (size >= 12) {
        std::string sealed(bytes.substr(0, size - 8));
        const std::uint64_t sum = entry::checksum(sealed);
        for (int i = 0; i < 8; ++i)
            sealed += char(sum >> (8 * i));
        check(key, sealed);
    }
    return 0;
}
