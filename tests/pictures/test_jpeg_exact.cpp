// Decoded pixels must equal djpeg's with the same settings, byte for byte.

#include "pictures/JpegFixtures.h"
#include "pictures/Picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

using namespace fixtures;
using pictures::Picture;
using pictures::PixelFormat;

namespace {

Bytes truncated(Bytes bytes, double keep)
{
    bytes.resize(static_cast<std::size_t>(bytes.size() * keep));
    return bytes;
}

Bytes withTrailingBytes(Bytes bytes)
{
    for (int i = 0; i < 300; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i * 37));
    return bytes;
}

struct ExactCase {
    const char* name;
    std::function<Bytes()> make;
    bool grey;
};

JpegOptions with(std::function<void(JpegOptions&)> change)
{
    JpegOptions options;
    options.width = 97;
    options.height = 61;
    change(options);
    return options;
}

const ExactCase kCases[] = {
    {"colour420", [] { return makeJpeg(with([](JpegOptions&) {})); }, false},
    {"colour422",
     [] { return makeJpeg(with([](JpegOptions& o) { o.sampling = Sampling::s422; })); }, false},
    {"colour444",
     [] { return makeJpeg(with([](JpegOptions& o) { o.sampling = Sampling::s444; })); }, false},
    {"grey", [] { return makeJpeg(with([](JpegOptions& o) { o.colours = Colours::grey; })); },
     true},
    {"progressive", [] { return makeJpeg(with([](JpegOptions& o) { o.progressive = true; })); },
     false},
    {"progressiveGrey",
     [] {
         return makeJpeg(with([](JpegOptions& o) {
             o.progressive = true;
             o.colours = Colours::grey;
         }));
     },
     true},
    {"restartMarkers", [] { return makeJpeg(with([](JpegOptions& o) { o.restartRows = 1; })); },
     false},
    {"arithmetic", [] { return makeJpeg(with([](JpegOptions& o) { o.arithmetic = true; })); },
     false},
    {"truncated", [] { return truncated(makeJpeg(with([](JpegOptions&) {})), 0.55); }, false},
    // Block smoothing only shows where coefficients are missing: a
    // progressive file that ends before its later scans.
    {"progressiveTruncated",
     [] { return truncated(makeJpeg(with([](JpegOptions& o) { o.progressive = true; })), 0.4); },
     false},
    {"trailingBytes", [] { return withTrailingBytes(makeJpeg(with([](JpegOptions&) {}))); }, false},
    {"size1x1",
     [] {
         return makeJpeg(with([](JpegOptions& o) {
             o.width = 1;
             o.height = 1;
         }));
     },
     false},
    {"size17x3",
     [] {
         return makeJpeg(with([](JpegOptions& o) {
             o.width = 17;
             o.height = 3;
         }));
     },
     false},
    {"greyOddSize",
     [] {
         return makeJpeg(with([](JpegOptions& o) {
             o.width = 17;
             o.height = 3;
             o.colours = Colours::grey;
         }));
     },
     true},
};

void PrintTo(const ExactCase& c, std::ostream* os)
{
    *os << c.name;
}

class JpegExactness : public testing::TestWithParam<ExactCase> {};

TEST_P(JpegExactness, EqualsDjpegByteForByte)
{
    if (!std::filesystem::exists(kDjpeg))
        GTEST_SKIP() << "djpeg (libjpeg-turbo-progs) is not installed";
    const ExactCase& c = GetParam();
    const TempDir dir;
    const std::string file = dir.write(std::string(c.name) + ".jpg", c.make());

    Pnm expected;
    ASSERT_TRUE(
        runDjpeg(c.grey ? "-dct float -colors 236 -pnm" : "-dct float -ppm", file, expected));

    const Picture picture = Picture::load(file);
    ASSERT_EQ(picture.width(), expected.width);
    ASSERT_EQ(picture.height(), expected.height);
    const pictures::Bitmap* bitmap = picture.bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_FALSE(picture.takeDecodeError().has_value());
    ASSERT_EQ(bitmap->format, c.grey ? PixelFormat::Gray8 : PixelFormat::Rgb24);
    ASSERT_EQ(expected.channels, c.grey ? 1 : 3);
    const std::size_t rowBytes = std::size_t(expected.width) * expected.channels;
    for (int y = 0; y < expected.height; ++y)
        ASSERT_EQ(std::memcmp(bitmap->row(y), expected.pixels.data() + y * rowBytes, rowBytes), 0)
            << "row " << y;
}

TEST(JpegExactness, GreyUsesAtMost236Levels)
{
    JpegOptions options;
    options.width = 256;
    options.height = 64;
    options.colours = Colours::grey;
    const TempDir dir;
    const Picture picture = Picture::load(dir.write("grey.jpg", makeJpeg(options)));
    const pictures::Bitmap* bitmap = picture.bitmap();
    ASSERT_NE(bitmap, nullptr);
    bool seen[256] = {};
    for (int y = 0; y < bitmap->height; ++y)
        for (int x = 0; x < bitmap->width; ++x)
            seen[bitmap->row(y)[x]] = true;
    int levels = 0;
    for (bool s : seen)
        levels += s;
    EXPECT_LE(levels, 236);
    EXPECT_GT(levels, 100); // a smooth gradient uses most of them
}

INSTANTIATE_TEST_SUITE_P(Fixtures, JpegExactness, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ExactCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
