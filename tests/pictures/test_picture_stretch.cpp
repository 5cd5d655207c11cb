// Nearest-neighbour stretching into 32-bit pixels.

#include "pictures/JpegFixtures.h"
#include "pictures/Picture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

using namespace fixtures;
using pictures::Bitmap;
using pictures::Picture;
using pictures::PixelFormat;

namespace {

Picture loaded(const TempDir& dir, int width, int height, Colours colours = Colours::rgb)
{
    JpegOptions options;
    options.width = width;
    options.height = height;
    options.colours = colours;
    return Picture::load(dir.write("s.jpg", makeJpeg(options)));
}

std::uint32_t at(const Bitmap& bitmap, int x, int y)
{
    std::uint32_t value;
    std::memcpy(&value, bitmap.row(y) + static_cast<std::size_t>(x) * 4, 4);
    return value;
}

std::uint32_t sourceAt(const Bitmap& bitmap, int x, int y)
{
    if (bitmap.format == PixelFormat::Gray8)
        return 0xff000000u | bitmap.row(y)[x] * 0x010101u;
    const std::uint8_t* p = bitmap.row(y) + static_cast<std::size_t>(x) * 3;
    return 0xff000000u | p[0] << 16 | p[1] << 8 | p[2];
}

struct StretchCase {
    const char* name;
    Colours colours;
    int sourceWidth, sourceHeight;
    int width, height;
    int divisorX, divisorY; // target pixel x comes from x * divisorX / width ...
    int multiplier;         // ... times this, in whole steps only
};

void PrintTo(const StretchCase& c, std::ostream* os)
{
    *os << c.name;
}

// Exact ratios, so that the expected source pixel is plain arithmetic.
const StretchCase kCases[] = {
    {"sameSize", Colours::rgb, 97, 61, 97, 61, 1, 1, 1},
    {"doubled", Colours::rgb, 40, 30, 80, 60, 2, 2, 0},
    {"halved", Colours::rgb, 96, 60, 48, 30, 1, 1, 2},
    {"greyDoubled", Colours::grey, 40, 30, 80, 60, 2, 2, 0},
    {"greyHalved", Colours::grey, 96, 60, 48, 30, 1, 1, 2},
};

class Stretching : public testing::TestWithParam<StretchCase> {};

TEST_P(Stretching, TakesTheNearestPixelBelow)
{
    const StretchCase& c = GetParam();
    const TempDir dir;
    const Picture picture = loaded(dir, c.sourceWidth, c.sourceHeight, c.colours);
    const Bitmap& source = *picture.bitmap();
    const Bitmap* target = picture.stretched(c.width, c.height);
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(target->format, PixelFormat::Xrgb32);
    ASSERT_EQ(target->width, c.width);
    ASSERT_EQ(target->height, c.height);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const int sx = c.multiplier ? x * c.multiplier : x / c.divisorX;
            const int sy = c.multiplier ? y * c.multiplier : y / c.divisorY;
            ASSERT_EQ(at(*target, x, y), sourceAt(source, sx, sy)) << x << "," << y;
        }
    // Made in the smallest row slices: the same image.
    const Picture again = loaded(dir, c.sourceWidth, c.sourceHeight, c.colours);
    again.decode();
    int steps = 1;
    while (!again.stretchStep(c.width, c.height, std::chrono::microseconds{0}))
        ++steps;
    EXPECT_GE(steps, c.height / 16);
    const Bitmap* sliced = again.stretched(c.width, c.height);
    for (int y = 0; y < c.height; ++y)
        ASSERT_EQ(std::memcmp(sliced->row(y), target->row(y), target->stride), 0) << y;
}

INSTANTIATE_TEST_SUITE_P(Sizes, Stretching, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<StretchCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(Stretching, OddRatioKeepsTheCornersAndStaysInside)
{
    const TempDir dir;
    const Picture picture = loaded(dir, 97, 61);
    const Bitmap& source = *picture.bitmap();
    const Bitmap* target = picture.stretched(13, 7);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(at(*target, 0, 0), sourceAt(source, 0, 0));
    // 12 * 97 / 13 = 89 and 6 * 61 / 7 = 52: truncated, never rounded up.
    EXPECT_EQ(at(*target, 12, 6), sourceAt(source, 89, 52));
}

TEST(Stretching, EmptySizesGiveNothing)
{
    const TempDir dir;
    const Picture picture = loaded(dir, 20, 10);
    EXPECT_EQ(picture.stretched(0, 10), nullptr);
    EXPECT_EQ(picture.stretched(10, -1), nullptr);
}

TEST(Stretching, LastSizeIsKeptAndShared)
{
    const TempDir dir;
    const Picture picture = loaded(dir, 40, 30);
    const Picture copy = picture;
    const Bitmap* first = picture.stretched(20, 15);
    ASSERT_NE(first, nullptr);
    const std::uint8_t* pixels = first->pixels.get();
    EXPECT_EQ(copy.stretched(20, 15)->pixels.get(), pixels);
    const Bitmap* other = copy.stretched(80, 60);
    EXPECT_EQ(other->width, 80);
    EXPECT_EQ(picture.stretched(80, 60)->pixels.get(), other->pixels.get());
}

TEST(Stretching, PlaceholderStretchesToBlackAndWhite)
{
    const Bitmap* target = Picture::placeholder().stretched(250, 174);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(at(*target, 125, 87), 0xffffffffu);
    EXPECT_EQ(at(*target, 0, 0), 0xff000000u);
}

} // namespace
