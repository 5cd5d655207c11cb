// Decoding in steps: the scans of a progressive file are absorbed over many
// steps, copies share a decode under way, dropping one mid-way leaks
// nothing (the sanitizer run checks), and bitmap memory is reused.

#include "pictures/JpegFixtures.h"
#include "pictures/Picture.h"
#include "pictures/PictureMemory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

using namespace fixtures;
using pictures::Bitmap;
using pictures::Picture;

namespace {

constexpr std::chrono::microseconds kSmallest{0};

Bytes photo(int width, int height, bool progressive)
{
    JpegOptions options;
    options.width = width;
    options.height = height;
    options.progressive = progressive;
    return makeJpeg(options);
}

int stepsToDecode(const Picture& picture)
{
    int steps = 1;
    while (!picture.decodeStep(kSmallest))
        ++steps;
    return steps;
}

bool samePixels(const Bitmap& a, const Bitmap& b)
{
    if (a.width != b.width || a.height != b.height || a.stride != b.stride)
        return false;
    for (int y = 0; y < a.height; ++y)
        if (std::memcmp(a.row(y), b.row(y), a.stride) != 0)
            return false;
    return true;
}

TEST(DecodeSteps, ProgressiveScansAreAbsorbedInStepsBeforeTheRows)
{
    const TempDir dir;
    const int baseline = stepsToDecode(Picture::load(dir.write("b.jpg", photo(800, 600, false))));
    const int progressive = stepsToDecode(Picture::load(dir.write("p.jpg", photo(800, 600, true))));
    // Both make the same row slices; only absorbing the scans adds steps.
    EXPECT_GT(progressive, baseline + 20);
}

TEST(DecodeSteps, CopiesShareADecodeUnderWayAndFinishItAtOnce)
{
    const TempDir dir;
    const std::string file = dir.write("p.jpg", photo(400, 300, true));
    const Picture original = Picture::load(file);
    const Picture copy = original;
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(original.decodeStep(kSmallest));
    EXPECT_FALSE(copy.isDecoded());
    const Bitmap* bitmap = copy.bitmap(); // finishes what the original began
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(original.isDecoded());
    EXPECT_TRUE(original.decodeStep(kSmallest));
    EXPECT_EQ(original.bitmap(), bitmap);
    EXPECT_TRUE(samePixels(*bitmap, *Picture::load(file).bitmap()));
}

TEST(DecodeSteps, DroppingAHolderMidwayReleasesTheDecode)
{
    const TempDir dir;
    for (const bool progressive : {false, true}) {
        Picture picture = Picture::load(dir.write("p.jpg", photo(400, 300, progressive)));
        const Picture copy = picture;
        for (int i = 0; i < 5; ++i)
            picture.decodeStep(kSmallest);
        ASSERT_FALSE(picture.isDecoded()) << progressive;
        picture = Picture(); // the copy still holds the decode
        EXPECT_NE(copy.bitmap(), nullptr);
    }
    Picture dropped = Picture::load(dir.write("q.jpg", photo(400, 300, true)));
    dropped.decodeStep(kSmallest);
    dropped = Picture(); // the last holder: libjpeg's state goes with it
    EXPECT_TRUE(dropped.isDecoded());
}

TEST(DecodeSteps, StretchFollowsTheDecodeInSteps)
{
    const TempDir dir;
    const std::string file = dir.write("p.jpg", photo(640, 480, true));
    const Picture sliced = Picture::load(file);
    int steps = 1;
    while (!sliced.stretchStep(300, 200, kSmallest))
        ++steps;
    EXPECT_GT(steps, stepsToDecode(Picture::load(file)));
    const Bitmap* stretched = sliced.stretched(300, 200);
    ASSERT_NE(stretched, nullptr);
    EXPECT_TRUE(sliced.stretchStep(300, 200, kSmallest));
    EXPECT_EQ(sliced.stretched(300, 200), stretched); // ready, not made again
    EXPECT_TRUE(samePixels(*stretched, *Picture::load(file).stretched(300, 200)));
    EXPECT_TRUE(Picture().stretchStep(300, 200, kSmallest)); // nothing to draw
}

constexpr std::size_t kMiB = std::size_t{1} << 20;

// A block whose last holder goes is kept; the next request of its size, or
// somewhat smaller, gets its pages.
TEST(PixelMemory, FreedBlocksAreReusedWhenTheyFit)
{
    const struct {
        std::size_t freed, wanted;
        bool reused;
    } cases[] = {
        {8 * kMiB, 8 * kMiB, true},  {8 * kMiB, 5 * kMiB, true},
        {8 * kMiB, 9 * kMiB, false}, {20 * kMiB, 9 * kMiB, false}, // more than half would lie idle
        {8 * kMiB, 3 * kMiB, false}, // small blocks come from the heap
    };
    for (const auto& c : cases) {
        pictures::releaseKeptPixels();
        const std::uint8_t* freed = pictures::allocatePixels(c.freed).get();
        EXPECT_EQ(pictures::keptPixelBytes(), c.freed);
        const auto block = pictures::allocatePixels(c.wanted);
        block[static_cast<std::ptrdiff_t>(c.wanted - 1)] = 1; // all of it is there
        EXPECT_EQ(block.get() == freed, c.reused) << c.freed << " " << c.wanted;
    }
    pictures::releaseKeptPixels();
}

TEST(PixelMemory, KeepsLittleWhileNewMemoryIsMapped)
{
    pictures::releaseKeptPixels();
    {
        const std::shared_ptr<std::uint8_t[]> blocks[] = {pictures::allocatePixels(6 * kMiB),
                                                          pictures::allocatePixels(6 * kMiB),
                                                          pictures::allocatePixels(6 * kMiB)};
    }
    EXPECT_EQ(pictures::keptPixelBytes(), 12 * kMiB); // two blocks at most
    pictures::allocatePixels(40 * kMiB);
    EXPECT_EQ(pictures::keptPixelBytes(), 46 * kMiB); // the oldest went
    {
        const auto big = pictures::allocatePixels(100 * kMiB);
        // No kept block fits: the large one went before mapping, the small stays.
        EXPECT_EQ(pictures::keptPixelBytes(), 6 * kMiB);
    }
    pictures::releaseKeptPixels();
    EXPECT_EQ(pictures::keptPixelBytes(), 0u);
}

// Unmapping a large block takes milliseconds: a decode lets go of one it
// cannot use in pieces, one a step, until the rest fits.
TEST(PixelMemory, UnusableBlockIsLetGoInPieces)
{
    pictures::releaseKeptPixels();
    const std::uint8_t* freed = pictures::allocatePixels(100 * kMiB).get();
    const auto noTimeLeft = std::chrono::steady_clock::now();
    int steps = 1;
    while (!pictures::makeRoomForPixels(30 * kMiB, noTimeLeft))
        ++steps;
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(pictures::keptPixelBytes(), 52 * kMiB);
    EXPECT_EQ(pictures::allocatePixels(30 * kMiB).get(), freed);
    pictures::releaseKeptPixels();
}

// A reused block holds the last picture's pixels: a decode that fails must
// still leave black where it made no rows.
TEST(PixelMemory, ReusedBlockShowsNothingOfTheLastPicture)
{
    Bytes good = photo(1400, 1000, false);
    Bytes bad = good;
    const std::size_t counts = findMarker(bad, 0xC4) + 5; // an impossible Huffman table
    bad[counts] += 3;
    bad[counts + 2] -= 3;
    const TempDir dir;
    pictures::releaseKeptPixels();
    const std::uint8_t* pixels = Picture::load(dir.write("a.jpg", good)).bitmap()->pixels.get();
    const Picture failed = Picture::load(dir.write("b.jpg", bad));
    while (!failed.decodeStep(kSmallest)) {
    }
    const Bitmap& bitmap = *failed.bitmap();
    EXPECT_EQ(bitmap.pixels.get(), pixels);
    EXPECT_TRUE(failed.takeDecodeError().has_value());
    for (int y = 0; y < bitmap.height; ++y)
        for (std::size_t x = 0; x < bitmap.stride; ++x)
            ASSERT_EQ(bitmap.row(y)[x], 0) << x << "," << y;
}

} // namespace
