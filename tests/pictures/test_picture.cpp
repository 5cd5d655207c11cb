// Picture holders: sharing between copies, the placeholder, CMYK pictures.

#include "pictures/JpegFixtures.h"
#include "pictures/Picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <jerror.h>
#include <jpeglib.h>

using namespace fixtures;
using pictures::Bitmap;
using pictures::LoadFailure;
using pictures::Picture;
using pictures::PixelFormat;

namespace {

Bytes colour(int width = 64, int height = 48)
{
    JpegOptions options;
    options.width = width;
    options.height = height;
    return makeJpeg(options);
}

Bytes brokenHuffmanTable()
{
    Bytes jpeg = colour();
    const std::size_t counts = findMarker(jpeg, 0xC4) + 5;
    jpeg[counts] += 3;
    jpeg[counts + 2] -= 3;
    return jpeg;
}

TEST(PictureHolder, EmptyHolderHasNothingToDraw)
{
    const Picture empty;
    EXPECT_EQ(empty.width(), 0);
    EXPECT_EQ(empty.height(), 0);
    EXPECT_EQ(empty.bitmap(), nullptr);
    EXPECT_EQ(empty.stretched(10, 10), nullptr);
    EXPECT_EQ(empty.takeDecodeError(), std::nullopt);
}

TEST(PictureHolder, SizeComesFromTheHeaderBeforeDecoding)
{
    const TempDir dir;
    const Picture picture = Picture::load(dir.write("a.jpg", colour(31, 17)));
    EXPECT_EQ(picture.width(), 31);
    EXPECT_EQ(picture.height(), 17);
}

TEST(PictureHolder, CopiesShareOneDecodedBitmap)
{
    const TempDir dir;
    const Picture original = Picture::load(dir.write("a.jpg", colour()));
    const Picture copy = original;
    EXPECT_TRUE(copy.sharesDataWith(original));
    copy.decode();
    const Bitmap* bitmap = original.bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap, copy.bitmap());
    EXPECT_EQ(bitmap->pixels.get(), original.bitmap()->pixels.get()); // decoded once
}

TEST(PictureHolder, AssigningAnotherPictureLeavesTheCopyAlone)
{
    const TempDir dir;
    Picture first = Picture::load(dir.write("a.jpg", colour(64, 48)));
    Picture second = first;
    const std::uint8_t* pixels = first.bitmap()->pixels.get();
    second = Picture::load(dir.write("b.jpg", colour(20, 10)));
    EXPECT_FALSE(second.sharesDataWith(first));
    EXPECT_EQ(first.width(), 64);
    EXPECT_EQ(first.bitmap()->pixels.get(), pixels);
    EXPECT_EQ(second.width(), 20);
    second = Picture();
    EXPECT_EQ(first.height(), 48);
}

TEST(PictureHolder, FailedLoadKeepsThePreviousPicture)
{
    const TempDir dir;
    Picture holder = Picture::load(dir.write("a.jpg", colour(40, 30)));
    const Picture before = holder;
    const std::string text = dir.write("b.jpg", Bytes{'n', 'o'});
    EXPECT_THROW(holder = Picture::load(text), LoadFailure);
    EXPECT_TRUE(holder.sharesDataWith(before));
    EXPECT_EQ(holder.width(), 40);
}

TEST(PictureHolder, SeparateLoadsOfOneFileDoNotShare)
{
    const TempDir dir;
    const std::string file = dir.write("a.jpg", colour());
    EXPECT_FALSE(Picture::load(file).sharesDataWith(Picture::load(file)));
}

TEST(PictureHolder, DecodeErrorIsHandedOutOnceForAllCopies)
{
    const TempDir dir;
    const Picture original = Picture::load(dir.write("a.jpg", brokenHuffmanTable()));
    const Picture copy = original;
    EXPECT_EQ(original.takeDecodeError(), std::nullopt); // not decoded yet
    ASSERT_NE(copy.bitmap(), nullptr);
    EXPECT_EQ(original.takeDecodeError(),
              (pictures::DecodeError{pictures::PictureFormat::jpeg, JERR_BAD_HUFF_TABLE}));
    EXPECT_EQ(copy.takeDecodeError(), std::nullopt);
    EXPECT_EQ(original.takeDecodeError(), std::nullopt);
    const Picture later = copy;
    EXPECT_NE(later.bitmap(), nullptr); // repaints show it without a new error
    EXPECT_EQ(later.takeDecodeError(), std::nullopt);
}

TEST(Placeholder, IsAOneBitCrossOfTheDiagonals)
{
    const Picture leer = Picture::placeholder();
    ASSERT_EQ(leer.width(), 500);
    ASSERT_EQ(leer.height(), 348);
    const Bitmap* bitmap = leer.bitmap();
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(bitmap->format, PixelFormat::Gray8);
    const auto at = [&](int x, int y) { return bitmap->row(y)[x]; };
    for (int y = 0; y < 348; ++y)
        for (int x = 0; x < 500; ++x)
            ASSERT_TRUE(at(x, y) == 0 || at(x, y) == 255) << x << "," << y;
    EXPECT_EQ(at(250, 174), 255); // where the diagonals cross
    for (const auto& [x, y] :
         {std::pair{0, 0}, {499, 0}, {0, 347}, {499, 347}, {250, 20}, {20, 174}})
        EXPECT_EQ(at(x, y), 0) << x << "," << y;
    // The lines end about 12 pixels inside the edges.
    EXPECT_EQ(at(5, 5), 0);
    EXPECT_EQ(at(494, 342), 0);
    EXPECT_EQ(at(16, 16), 255);
    EXPECT_EQ(at(483, 16), 255);
    EXPECT_EQ(at(16, 331), 255);
    EXPECT_EQ(at(483, 331), 255);
}

TEST(Placeholder, LinesAreAboutEightPixelsThick)
{
    const Bitmap* bitmap = Picture::placeholder().bitmap();
    ASSERT_NE(bitmap, nullptr);
    const double slope = 323.0 / 475.0; // the diagonal inside the insets
    for (const int x : {100, 150, 350, 400}) {
        int run = 0;
        for (int y = 0; y < 348; ++y)
            run += bitmap->row(y)[x] == 255;
        // Two lines cross each column; thickness across a line is the
        // vertical run shortened by the slope.
        const double thickness = run / 2.0 / std::sqrt(1 + slope * slope);
        EXPECT_GE(thickness, 7.0) << x;
        EXPECT_LE(thickness, 10.0) << x;
    }
}

TEST(Placeholder, IsMadeOnceAndShared)
{
    const Picture a = Picture::placeholder();
    const Picture b = Picture::placeholder();
    EXPECT_TRUE(a.sharesDataWith(b));
    EXPECT_EQ(a.takeDecodeError(), std::nullopt);
}

struct InkCase {
    const char* name;
    Colours colours;
    bool adobeMarker;
    std::uint8_t ink[4]; // amounts of ink, 255 = full
    int rgb[3];
};

void PrintTo(const InkCase& c, std::ostream* os)
{
    *os << c.name;
}

const InkCase kInkCases[] = {
    {"adobeCmykRed", Colours::cmyk, true, {0, 255, 255, 0}, {255, 0, 0}},
    {"adobeCmykGreen", Colours::cmyk, true, {255, 0, 255, 0}, {0, 255, 0}},
    {"adobeCmykHalfBlack", Colours::cmyk, true, {0, 0, 0, 128}, {127, 127, 127}},
    {"adobeCmykMixed", Colours::cmyk, true, {0, 128, 0, 64}, {191, 95, 191}},
    {"plainCmykRed", Colours::cmyk, false, {0, 255, 255, 0}, {255, 0, 0}},
    {"plainCmykMixed", Colours::cmyk, false, {0, 128, 0, 64}, {191, 95, 191}},
    {"adobeYcckBlue", Colours::ycck, true, {255, 255, 0, 0}, {0, 0, 255}},
    {"adobeYcckMixed", Colours::ycck, true, {0, 128, 0, 64}, {191, 95, 191}},
};

class CmykPictures : public testing::TestWithParam<InkCase> {};

// Adobe's files store ink inverted (255 = no ink); without the marker the
// values are the ink amounts themselves.
TEST_P(CmykPictures, BecomeRgb)
{
    const InkCase& c = GetParam();
    JpegOptions options;
    options.width = options.height = 16;
    options.colours = c.colours;
    options.quality = 100;
    options.adobeMarker = c.adobeMarker;
    for (int i = 0; i < 4; ++i)
        options.ink[i] = c.adobeMarker ? 255 - c.ink[i] : c.ink[i];
    const TempDir dir;
    const Picture picture = Picture::load(dir.write("ink.jpg", makeJpeg(options)));
    const Bitmap* bitmap = picture.bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(picture.takeDecodeError(), std::nullopt);
    ASSERT_EQ(bitmap->format, PixelFormat::Rgb24);
    const std::uint8_t* pixel = bitmap->row(8) + std::size_t{8} * 3;
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(pixel[i], c.rgb[i], 3) << "channel " << i;
}

INSTANTIATE_TEST_SUITE_P(Inks, CmykPictures, testing::ValuesIn(kInkCases),
                         [](const testing::TestParamInfo<InkCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
