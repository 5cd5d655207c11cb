// Decoded pixels must equal djpeg's with the same settings, byte for byte,
// whether decoded in one piece or in the smallest steps.

#include "pictures/JpegFixtures.h"
#include "pictures/Picture.h"

#include <gtest/gtest.h>

#include <chrono>
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

JpegOptions with(const std::function<void(JpegOptions&)>& change)
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
    // Large enough that the scans are absorbed over many steps and the
    // quantizer's dithering runs on across many row slices.
    {"progressiveLarge",
     [] {
         return makeJpeg(with([](JpegOptions& o) {
             o.width = 800;
             o.height = 600;
             o.progressive = true;
         }));
     },
     false},
    // Arithmetic decoding cannot suspend inside a scan: a photograph
    // re-coded so is absorbed whole scans at a time, paused between rows.
    {"arithmeticProgressive",
     [] {
         return recode("-arithmetic -progressive", makeJpeg(with([](JpegOptions& o) {
                           o.width = 800;
                           o.height = 600;
                       })));
     },
     false},
    {"arithmeticProgressiveTruncated",
     [] {
         return truncated(recode("-arithmetic -progressive", makeJpeg(with([](JpegOptions&) {}))),
                          0.6);
     },
     false},
    {"greyLarge",
     [] {
         return makeJpeg(with([](JpegOptions& o) {
             o.width = 800;
             o.height = 600;
             o.colours = Colours::grey;
         }));
     },
     true},
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

    const Picture whole = Picture::load(file);
    const Picture sliced = Picture::load(file);
    int steps = 1;
    for (; !sliced.decodeStep(std::chrono::microseconds{0}); ++steps)
        ASSERT_LT(steps, 100000) << "no headway";
    EXPECT_GE(steps, (expected.height + 15) / 16) << "a step makes at most one row group";
    for (const Picture* picture : {&whole, &sliced}) {
        ASSERT_EQ(picture->width(), expected.width);
        ASSERT_EQ(picture->height(), expected.height);
        const pictures::Bitmap* bitmap = picture->bitmap();
        ASSERT_NE(bitmap, nullptr);
        EXPECT_FALSE(picture->takeDecodeError().has_value());
        ASSERT_EQ(bitmap->format, c.grey ? PixelFormat::Gray8 : PixelFormat::Rgb24);
        ASSERT_EQ(expected.channels, c.grey ? 1 : 3);
        const std::size_t rowBytes = std::size_t(expected.width) * expected.channels;
        for (int y = 0; y < expected.height; ++y)
            ASSERT_EQ(std::memcmp(bitmap->row(y), expected.pixels.data() + y * rowBytes, rowBytes),
                      0)
                << (picture == &whole ? "whole" : "in steps") << ", row " << y;
    }
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
