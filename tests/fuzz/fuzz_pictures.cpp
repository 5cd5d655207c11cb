// libFuzzer target for what reads a picture file's bytes: the marker walk
// of the decode budget, the EXIF orientation, the header, the decode in the
// smallest steps against the decode in one piece (the same error, the same
// pixels, and every step makes headway), and the scaled upright decode.

#include "pictures/DecodeBudget.h"
#include "pictures/Decoder.h"
#include "pictures/Orientation.h"
#include "pictures/ScaledDecode.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Larger pictures only make the runs slow; the budget is what guards them.
constexpr std::uint64_t kMaxFuzzPixels = std::uint64_t{512} * 512;
constexpr std::uint64_t kMaxFuzzBlockVisits = 100'000;
constexpr int kMaxSteps = 1'000'000;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_pictures: %s\n", what);
    std::abort();
}

void expectSame(const pictures::DecodedPicture& a, const pictures::DecodedPicture& b,
                const char* what)
{
    if (a.error != b.error)
        fail(what);
    const pictures::Bitmap &x = a.bitmap, &y = b.bitmap;
    if (x.width != y.width || x.height != y.height || x.stride != y.stride || x.format != y.format)
        fail(what);
    for (int row = 0; row < x.height; ++row)
        if (std::memcmp(x.row(row), y.row(row), x.stride) != 0)
            fail(what);
}

// Zero-budget steps, then (after `finishAfter` of them) one without a deadline.
pictures::DecodedPicture decodeInSteps(const std::uint8_t* data, std::size_t size,
                                       const pictures::PictureHeader& header, int finishAfter)
{
    const auto decoder = pictures::openDecoder(data, size, header);
    for (int steps = 0;
         !decoder->step(steps == finishAfter ? pictures::kNoDeadline : pictures::SliceClock::now());
         ++steps)
        if (steps > kMaxSteps)
            fail("a zero budget makes no headway");
    return decoder->take();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    pictures::exifOrientation(data, size);
    const pictures::budget::ComponentBlocks components[] = {{1, 4}, {2, 1}, {3, 1}};
    pictures::budget::countBlockVisits(data, size, components);
    const auto header = pictures::readHeader(data, size);
    if (!header || !pictures::budget::affordable(header->cost) ||
        header->cost.pixels > kMaxFuzzPixels || header->cost.blockVisits > kMaxFuzzBlockVisits)
        return 0;
    const pictures::DecodedPicture whole = decodeInSteps(data, size, *header, 0);
    expectSame(whole, decodeInSteps(data, size, *header, -1), "steps differ from one piece");
    const int finishAfter = size > 0 ? data[size - 1] % 64 : 0;
    expectSame(whole, decodeInSteps(data, size, *header, finishAfter),
               "finishing after some steps differs from one piece");
    pictures::decodeScaled(data, size, 8); // the evaluation's thumbnails, upright
    return 0;
}
