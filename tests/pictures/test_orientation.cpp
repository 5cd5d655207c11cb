// Camera portraits stand upright: the EXIF orientation read safely from any
// file, and the scaled decode the evaluation uses.

#include "pictures/JpegFixtures.h"
#include "pictures/Orientation.h"
#include "pictures/Picture.h"
#include "pictures/ScaledDecode.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

using namespace fixtures;
using pictures::Bitmap;

namespace {

// 64 x 32, four quadrants: red, green above; blue, white below.
Bytes quadrants()
{
    static const std::vector<std::uint8_t> rgb = [] {
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 64; ++x) {
                const int quadrant = (y >= 16) * 2 + (x >= 32);
                static constexpr std::uint8_t kColours[4][3] = {
                    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
                pixels.insert(pixels.end(), kColours[quadrant], kColours[quadrant] + 3);
            }
        return pixels;
    }();
    JpegOptions o;
    o.width = 64;
    o.height = 32;
    o.sampling = Sampling::s444;
    o.quality = 100;
    o.rgb = &rgb;
    return makeJpeg(o);
}

char colourAt(const Bitmap& bitmap, int x, int y)
{
    const std::uint8_t* p = bitmap.row(y) + static_cast<std::size_t>(x) * 3;
    const bool r = p[0] > 128, g = p[1] > 128, b = p[2] > 128;
    return r && g && b ? 'W' : r ? 'R' : g ? 'G' : b ? 'B' : '?';
}

TEST(Orientation, EachOfTheEightStandsUpright)
{
    // The upright corners (top left, top right, bottom left, bottom right).
    const char* const kCorners[9] = {"",     "RGBW", "GRWB", "WBGR", "BWRG",
                                     "RBGW", "BRWG", "WGBR", "GWRB"};
    for (int value = 1; value <= 8; ++value)
        for (const bool bigEndian : {false, true}) {
            const Bytes jpeg =
                withSegment(quadrants(), exifSegment(tiffWithOrientation(value, bigEndian)));
            ASSERT_EQ(pictures::exifOrientation(jpeg.data(), jpeg.size()), value);
            const pictures::ScaledPicture picture =
                pictures::decodeScaled(jpeg.data(), jpeg.size(), 0);
            const Bitmap& b = picture.bitmap;
            const bool turned = value >= 5;
            ASSERT_EQ(b.width, turned ? 32 : 64) << value;
            ASSERT_EQ(b.height, turned ? 64 : 32) << value;
            EXPECT_EQ(picture.width, b.width);
            const std::string corners = {colourAt(b, 4, 4), colourAt(b, b.width - 5, 4),
                                         colourAt(b, 4, b.height - 5),
                                         colourAt(b, b.width - 5, b.height - 5)};
            EXPECT_EQ(corners, kCorners[value]) << "orientation " << value;

            // The window's holder: upright size, and the stretch maps each
            // stored pixel where the upright bitmap has it, at any size.
            const TempDir dir;
            const pictures::Picture held = pictures::Picture::load(dir.write("o.jpg", jpeg));
            ASSERT_EQ(held.width(), b.width);
            ASSERT_EQ(held.height(), b.height);
            for (const int divisor : {1, 2}) {
                const int w = b.width / divisor, h = b.height / divisor;
                const Bitmap& stretched = *held.stretched(w, h);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const std::uint8_t* rgb =
                            b.row(y * divisor) + static_cast<std::size_t>(x) * divisor * 3;
                        const std::uint32_t expected =
                            0xff000000u | rgb[0] << 16 | rgb[1] << 8 | rgb[2];
                        ASSERT_EQ(reinterpret_cast<const std::uint32_t*>(stretched.row(y))[x],
                                  expected)
                            << "orientation " << value << " at " << x << "," << y << " / "
                            << divisor;
                    }
            }
        }
}

TEST(Orientation, MissingOrMalformedMeansOne)
{
    const auto cutTiff = [](std::size_t keep) {
        Bytes tiff = tiffWithOrientation(6, false);
        tiff.resize(keep);
        return exifSegment(tiff);
    };
    Bytes farOffset = tiffWithOrientation(6, true);
    farOffset[7] = 200; // IFD0 beyond the segment
    Bytes manyEntries = tiffWithOrientation(6, false);
    manyEntries[8] = 0xFF; // more entries than the segment holds, tag not among them
    manyEntries[10] = 0x13;
    Bytes longerThanFile = exifSegment(tiffWithOrientation(6, false));
    longerThanFile[2] = 0x7F;
    const struct {
        const char* name;
        Bytes segment;
    } cases[] = {
        {"none", {}},
        {"value 0", exifSegment(tiffWithOrientation(0, false))},
        {"value 9", exifSegment(tiffWithOrientation(9, true))},
        {"type LONG", exifSegment(tiffWithOrientation(6, false, 4))},
        {"cut in the entry", cutTiff(20)},
        {"cut in the header", cutTiff(5)},
        {"no byte order", exifSegment({'X', 'X', 42, 0, 8, 0, 0, 0})},
        {"IFD beyond the segment", exifSegment(farOffset)},
        {"entries beyond the segment", exifSegment(manyEntries)},
        {"segment longer than the file", longerThanFile},
        {"not Exif", {0xFF, 0xE1, 0, 8, 'E', 'x', 'i', 'x', 0, 0}},
    };
    for (const auto& c : cases) {
        const Bytes jpeg = withSegment(quadrants(), c.segment);
        EXPECT_EQ(pictures::exifOrientation(jpeg.data(), jpeg.size()), 1) << c.name;
        for (std::size_t cut = 0; cut <= jpeg.size(); cut += 7) // every prefix stays inside
            EXPECT_EQ(pictures::exifOrientation(jpeg.data(), cut), 1) << c.name;
    }
}

TEST(ScaledDecode, ScalesByTheLongSideAndRefusesWhatTheBudgetRefuses)
{
    JpegOptions o;
    o.width = 200;
    o.height = 120;
    const Bytes photo = makeJpeg(o);
    Bytes huge = photo;
    const std::size_t sof = findMarker(huge, 0xC0);
    huge[sof + 5] = huge[sof + 7] = 0xFF; // 65535 x 65535
    const struct {
        const Bytes* jpeg;
        int longSide, denominator, width, height;
        bool refused;
    } cases[] = {
        {&photo, 0, 1, 200, 120, false},   {&photo, 25, 8, 25, 15, false},
        {&photo, 26, 4, 50, 30, false},    {&photo, 100, 2, 100, 60, false},
        {&photo, 101, 1, 200, 120, false}, {&huge, 240, 1, 0, 0, true},
    };
    for (const auto& c : cases) {
        const pictures::ScaledPicture picture =
            pictures::decodeScaled(c.jpeg->data(), c.jpeg->size(), c.longSide);
        EXPECT_EQ(picture.refused, c.refused) << c.longSide;
        EXPECT_EQ(picture.scaleDenominator, c.denominator) << c.longSide;
        EXPECT_EQ(picture.bitmap.width, c.width) << c.longSide;
        EXPECT_EQ(picture.bitmap.height, c.height) << c.longSide;
        EXPECT_FALSE(picture.error.has_value());
    }
}

} // namespace
