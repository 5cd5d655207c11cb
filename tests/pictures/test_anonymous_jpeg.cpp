// An anonymous copy keeps the picture and what shows it right, and nothing
// that could name its author.

#include "pictures/AnonymousJpeg.h"
#include "pictures/Decoder.h"
#include "pictures/JpegFixtures.h"
#include "pictures/Orientation.h"

#include <gtest/gtest.h>

#include <string>

using namespace fixtures;

namespace {

Bytes segment(std::uint8_t marker, const std::string& payload)
{
    const std::size_t length = payload.size() + 2;
    Bytes bytes{0xFF, marker, std::uint8_t(length >> 8), std::uint8_t(length)};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

Bytes inserted(Bytes jpeg, std::size_t at, const Bytes& bytes)
{
    jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin(), bytes.end());
    return jpeg;
}

std::string text(const Bytes& bytes)
{
    return {bytes.begin(), bytes.end()};
}

Bytes bytesOf(const std::string& text)
{
    return {text.begin(), text.end()};
}

// Full-size pixels as the judging program decodes them.
std::string pixels(const Bytes& jpeg)
{
    const auto header = pictures::readHeader(jpeg.data(), jpeg.size());
    if (!header)
        return "no header";
    const auto decoder = pictures::openDecoder(jpeg.data(), jpeg.size(), *header);
    decoder->step(pictures::kNoDeadline);
    const pictures::DecodedPicture decoded = decoder->take();
    if (decoded.error || decoded.warned)
        return "failed";
    const pictures::Bitmap& b = decoded.bitmap;
    return std::string(reinterpret_cast<const char*>(b.pixels.get()),
                       static_cast<std::size_t>(b.stride) * static_cast<std::size_t>(b.height));
}

// A camera's and an editor's tags, each naming the author.
Bytes tagged(Bytes jpeg, int orientation)
{
    using namespace std::string_literals;
    Bytes tiff = tiffWithOrientation(orientation, false);
    const std::string artist = "Artist=AUTOR Copyright=AUTOR OwnerName=AUTOR";
    tiff.insert(tiff.end(), artist.begin(), artist.end());
    jpeg = withSegment(jpeg, exifSegment(tiff));
    jpeg = withSegment(jpeg, segment(0xE1, "http://ns.adobe.com/xap/1.0/\0<dc:creator>AUTOR"s));
    jpeg = withSegment(jpeg, segment(0xE2, "ICC_PROFILE\0\x01\x01profil"s));
    jpeg = withSegment(jpeg, segment(0xEA, "Maker AUTOR"s));
    // Between the scans (or before the only one): IPTC by-line and a comment.
    std::size_t lastScan = 0;
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            lastScan = i;
    jpeg = inserted(
        jpeg, lastScan,
        segment(0xED, "Photoshop 3.0\08BIM\x04\x04\0\0\0\0\0\x0A\x1C\x02\x50\0\x05AUTOR"s));
    jpeg = inserted(jpeg, lastScan, segment(0xFE, "Foto: AUTOR"));
    return jpeg;
}

TEST(AnonymousJpeg, KeepsThePictureAndItsOrientationAndNoAuthor)
{
    JpegOptions progressive, restarts, grey, cmyk;
    progressive.progressive = true;
    restarts.restartRows = 1;
    grey.colours = Colours::grey;
    cmyk.colours = Colours::cmyk; // its Adobe segment tells how to read the inks
    cmyk.ink[0] = 200;
    const struct {
        const char* name;
        JpegOptions options;
        int orientation;
    } cases[] = {
        {"baseline", {}, 6},
        {"progressive", progressive, 8},
        {"restart markers", restarts, 1},
        {"grey", grey, 3},
        {"CMYK", cmyk, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes plain = makeJpeg(c.options);
        const Bytes original = tagged(plain, c.orientation);
        ASSERT_NE(text(original).find("AUTOR"), std::string::npos);
        const auto copy = pictures::withoutAuthor(text(original));
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->find("AUTOR"), std::string::npos);
        EXPECT_EQ(copy->find("http://ns.adobe.com"), std::string::npos);
        EXPECT_NE(copy->find(std::string("ICC_PROFILE\0\x01\x01profil", 20)), std::string::npos);
        EXPECT_EQ(copy->find("JFIF") != std::string::npos,
                  text(plain).find("JFIF") != std::string::npos);
        const Bytes copied = bytesOf(*copy);
        EXPECT_EQ(pictures::exifOrientation(copied.data(), copied.size()), c.orientation);
        EXPECT_EQ(copy->find("Exif") != std::string::npos, c.orientation != 1);
        EXPECT_EQ(pixels(copied), pixels(original));
        // Only metadata went: the untagged picture comes out as it was.
        EXPECT_EQ(pictures::withoutAuthor(text(plain)), text(plain));
        EXPECT_EQ(pictures::withoutAuthor(*copy), copy);
    }
}

TEST(AnonymousJpeg, RefusesWhatIsNoWholeJpeg)
{
    const Bytes good = makeJpeg({});
    const std::size_t scan = findMarker(good, 0xDA);
    const std::size_t tables = findMarker(good, 0xDB);
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"no start marker", Bytes(good.begin() + 2, good.end())},
        {"ends in the data",
         Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(scan + 40))},
        {"ends in a segment",
         Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(tables + 10))},
        {"no end marker", Bytes(good.begin(), good.end() - 2)},
        {"junk between segments", inserted(good, tables, {0x12, 0x34})},
        {"length beyond the end", inserted(good, tables, {0xFF, 0xFE, 0xFF, 0xFF})},
        {"length below two", inserted(good, tables, {0xFF, 0xFE, 0x00, 0x01})},
        {"a second start", inserted(good, tables, {0xFF, 0xD8})},
        {"no picture", {0xFF, 0xD8, 0xFF, 0xD9}},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(pictures::withoutAuthor(text(c.bytes))) << c.name;
    // What follows the end marker (a second picture, a maker's trailer) goes.
    EXPECT_EQ(pictures::withoutAuthor(text(good) + "AUTOR"), text(good));
}

} // namespace
