// Broken and hostile files: each is refused at loading, ends in an error
// carrying libjpeg's message code while decoding, or decodes; none may crash.

#include "pictures/DecodeBudget.h"
#include "pictures/Decoder.h"
#include "pictures/JpegFixtures.h"
#include "pictures/Picture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <jerror.h>
#include <jpeglib.h>
#include <memory>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace fixtures;
using pictures::LoadFailure;
using pictures::Picture;

namespace {

enum class Outcome { loadFails, decodeError, decodes };

struct BadCase {
    const char* name;
    const char* fileName;
    std::function<Bytes()> make;
    Outcome outcome;
    int errorCode = 0; // for decodeError
};

void PrintTo(const BadCase& c, std::ostream* os)
{
    *os << c.name;
}

Bytes colour()
{
    return makeJpeg(JpegOptions{});
}

Bytes text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes png()
{
    return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I',  'H',  'D',  'R', 0,
            0,    0,   1,   0,   0,    0,    1,    8,    2, 0, 0, 0,  0x90, 0x77, 0x53, 0xDE};
}

// Frame header fields, counted from the 0xFF of the SOF0 marker.
constexpr std::size_t kPrecision = 4, kHeight = 5, kWidth = 7, kFirstSampling = 11;

Bytes withSize(Bytes jpeg, int width, int height)
{
    std::size_t sof = 2; // baseline or progressive frame header, Huffman or arithmetic
    const auto isFrame = [](std::uint8_t m) { return m == 0xC0 || m == 0xC2 || m == 0xCA; };
    while (!(jpeg[sof] == 0xFF && isFrame(jpeg[sof + 1])))
        ++sof;
    jpeg[sof + kHeight] = std::uint8_t(height >> 8);
    jpeg[sof + kHeight + 1] = std::uint8_t(height);
    jpeg[sof + kWidth] = std::uint8_t(width >> 8);
    jpeg[sof + kWidth + 1] = std::uint8_t(width);
    return jpeg;
}

Bytes withSampling(Bytes jpeg, std::uint8_t luma, std::uint8_t blue)
{
    const std::size_t sof = findMarker(jpeg, 0xC0);
    jpeg[sof + kFirstSampling] = luma;
    jpeg[sof + kFirstSampling + 3] = blue;
    return jpeg;
}

Bytes inserted(Bytes jpeg, std::size_t at, const Bytes& piece)
{
    jpeg.insert(jpeg.begin() + std::ptrdiff_t(at), piece.begin(), piece.end());
    return jpeg;
}

// Three one-bit codes cannot exist: the first DC table becomes impossible
// while its size and value count stay plausible.
Bytes withImpossibleHuffmanTable(Bytes jpeg)
{
    const std::size_t counts = findMarker(jpeg, 0xC4) + 5;
    jpeg[counts + 0] += 3;
    jpeg[counts + 2] -= 3;
    return jpeg;
}

// Entropy-coded data runs until a marker other than a stuffed 0xFF00 or RSTn.
std::size_t endOfScan(const Bytes& jpeg, std::size_t sos)
{
    std::size_t i = sos + 2 + (jpeg[sos + 2] << 8 | jpeg[sos + 3]);
    while (!(jpeg[i] == 0xFF && jpeg[i + 1] != 0 && (jpeg[i + 1] < 0xD0 || jpeg[i + 1] > 0xD7)))
        ++i;
    return i;
}

int countScans(const Bytes& jpeg)
{
    int scans = 0;
    for (std::size_t i = findMarker(jpeg, 0xDA); i + 1 < jpeg.size() && jpeg[i + 1] == 0xDA;) {
        ++scans;
        i = endOfScan(jpeg, i);
        while (i + 1 < jpeg.size() && jpeg[i + 1] != 0xDA && jpeg[i + 1] != 0xD9)
            i += 2 + (jpeg[i + 2] << 8 | jpeg[i + 3]); // tables between scans
    }
    return scans;
}

// A progressive file whose first scan is repeated until it has `scans` scans.
Bytes withScans(int scans)
{
    JpegOptions options;
    options.width = options.height = 16;
    options.progressive = true;
    Bytes jpeg = makeJpeg(options);
    const std::size_t sos = findMarker(jpeg, 0xDA);
    const Bytes scan(jpeg.begin() + std::ptrdiff_t(sos),
                     jpeg.begin() + std::ptrdiff_t(endOfScan(jpeg, sos)));
    for (int have = countScans(jpeg); have < scans; ++have)
        jpeg = inserted(jpeg, sos, scan);
    return jpeg;
}

const BadCase kCases[] = {
    {"empty", "a.jpg", [] { return Bytes{}; }, Outcome::decodes},
    {"text", "a.jpg", [] { return text("Bewertung der Bilder\r\n"); }, Outcome::loadFails},
    {"pngNamedJpg", "a.jpg", png, Outcome::loadFails},
    {"cutInHalf", "a.jpg",
     [] {
         Bytes b = colour();
         b.resize(b.size() / 2);
         return b;
     },
     Outcome::decodes},
    {"headerOnly", "a.jpg",
     [] {
         Bytes b = colour();
         b.resize(findMarker(b, 0xDA));
         return b;
     },
     Outcome::loadFails},
    {"impossibleHuffmanTable", "a.jpg", [] { return withImpossibleHuffmanTable(colour()); },
     Outcome::decodeError, JERR_BAD_HUFF_TABLE},
    {"twelveBit", "a.jpg",
     [] {
         Bytes b = colour();
         const std::size_t sof = findMarker(b, 0xC0);
         b[sof + 1] = 0xC1;
         b[sof + kPrecision] = 12;
         return b;
     },
     Outcome::loadFails},
    {"lossless", "a.jpg",
     [] {
         Bytes b = colour();
         b[findMarker(b, 0xC0) + 1] = 0xC3;
         return b;
     },
     Outcome::loadFails},
    {"arithmetic", "a.jpg",
     [] {
         JpegOptions o;
         o.arithmetic = true;
         return makeJpeg(o);
     },
     Outcome::decodes},
    {"unknownAppMarker", "a.jpg",
     [] {
         return inserted(colour(), 2, {0xFF, 0xE7, 0, 6, 'Z', 'o', 'r', 'v'});
     },
     Outcome::decodes},
    {"reservedMarkerInHeader", "a.jpg",
     [] {
         return inserted(colour(), 2, {0xFF, 0x02, 0, 4, 1, 2});
     },
     Outcome::loadFails},
    {"reservedMarkerAfterScan", "a.jpg",
     [] {
         Bytes b = colour();
         return inserted(b, b.size() - 2, {0xFF, 0x02, 0, 4, 1, 2});
     },
     Outcome::decodeError, JERR_UNKNOWN_MARKER},
    {"samplingFactorFive", "a.jpg", [] { return withSampling(colour(), 0x52, 0x11); },
     Outcome::loadFails},
    {"fractionalSampling", "a.jpg",
     [] {
         JpegOptions o;
         o.sampling = Sampling::s444;
         return withSampling(makeJpeg(o), 0x31, 0x21);
     },
     Outcome::decodeError, JERR_FRACT_SAMPLE_NOTIMPL},
    {"duplicateStartMarker", "a.jpg",
     [] {
         return inserted(colour(), 2, {0xFF, 0xD8});
     },
     Outcome::loadFails},
    {"declares65000x65000", "a.jpg", [] { return withSize(colour(), 65000, 65000); },
     Outcome::loadFails},
    {"bomb49157x27397", "a.jpg",
     [] {
         JpegOptions o;
         o.width = o.height = 8;
         o.colours = Colours::grey;
         return withSize(makeJpeg(o), 49157, 27397);
     },
     Outcome::loadFails},
    // A table that runs past the end, after the scans: steps must not wait
    // for bytes that never come.
    {"tableCutByTheEnd", "a.jpg",
     [] {
         JpegOptions o;
         o.width = o.height = 8;
         o.progressive = true;
         Bytes b = makeJpeg(o);
         b.resize(b.size() - 2);
         return inserted(b, b.size(), {0xFF, 0xC4, 0x01, 0x00, 0x10, 0x01, 0, 0, 0, 0, 0, 0, 0});
     },
     Outcome::decodeError, JERR_BAD_HUFF_TABLE},
    {"thousandScans", "a.jpg", [] { return withScans(1000); }, Outcome::decodes},
    {"thousandAndOneScans", "a.jpg", [] { return withScans(1001); }, Outcome::decodeError,
     JERR_BAD_PROGRESSION},
    {"otherExtension", "a.png", colour, Outcome::loadFails},
    {"doubleExtension", "a.jpg.bak", colour, Outcome::loadFails},
    {"upperCaseExtension", "a.JPEG", colour, Outcome::decodes},
    {"jpegExtension", "a.jpeg", colour, Outcome::decodes},
};

class JpegBadInput : public testing::TestWithParam<BadCase> {};

TEST_P(JpegBadInput, EndsAsExpected)
{
    const BadCase& c = GetParam();
    const TempDir dir;
    const Bytes bytes = c.make();
    const std::string file = dir.write(c.fileName, bytes);
    if (c.outcome == Outcome::loadFails) {
        EXPECT_THROW(Picture::load(file), LoadFailure);
        return;
    }
    const Picture picture = Picture::load(file);
    const pictures::Bitmap* bitmap = picture.bitmap();
    if (bytes.empty()) {
        EXPECT_EQ(picture.width(), 0);
        EXPECT_EQ(picture.height(), 0);
        EXPECT_EQ(bitmap, nullptr);
    } else {
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->width, picture.width());
        EXPECT_EQ(bitmap->height, picture.height());
    }
    const auto error = picture.takeDecodeError();
    if (c.outcome == Outcome::decodeError)
        EXPECT_EQ(error, (pictures::DecodeError{pictures::PictureFormat::jpeg, c.errorCode}));
    else
        EXPECT_EQ(error, std::nullopt);

    // In the smallest steps, or finishing at once after a few: the same
    // error and the same pixels; every step makes headway.
    for (const int finishAfter : {-1, 1, 4}) {
        const Picture sliced = Picture::load(file);
        for (int steps = 0;
             steps != finishAfter && !sliced.decodeStep(std::chrono::microseconds{0});)
            ASSERT_LT(++steps, 100000) << "no headway";
        sliced.decode();
        EXPECT_EQ(sliced.takeDecodeError(), error) << finishAfter;
        const pictures::Bitmap* again = sliced.bitmap();
        ASSERT_EQ(again == nullptr, bitmap == nullptr);
        for (int y = 0; bitmap && y < bitmap->height; ++y)
            ASSERT_TRUE(std::equal(bitmap->row(y), bitmap->row(y) + bitmap->stride, again->row(y)))
                << "row " << y << ", finished after " << finishAfter;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegBadInput, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<BadCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(JpegBadInput, MissingFileAndFolderFailToLoad)
{
    const TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder.jpg");
    EXPECT_THROW(Picture::load((dir.path() / "missing.jpg").string()), LoadFailure);
    EXPECT_THROW(Picture::load((dir.path() / "folder.jpg").string()), LoadFailure);
}

TEST(JpegBadInput, BombIsTinyAndRefusedFromItsHeader)
{
    JpegOptions o;
    o.width = o.height = 8;
    o.colours = Colours::grey;
    const Bytes bomb = withSize(makeJpeg(o), 49157, 27397);
    EXPECT_LT(bomb.size(), 1024u);
    const TempDir dir;
    try {
        Picture::load(dir.write("bomb.jpg", bomb));
        FAIL() << "the bomb was accepted";
    } catch (const LoadFailure& failure) {
        EXPECT_EQ(std::filesystem::path(failure.fileName()).filename(), "bomb.jpg");
    }
}

Bytes shaped(Sampling sampling, bool progressive, int width, int height, int scans = 0,
             bool arithmetic = false)
{
    JpegOptions o;
    o.sampling = sampling;
    o.progressive = progressive;
    o.arithmetic = arithmetic;
    o.width = o.height = 16;
    Bytes small = makeJpeg(o);
    if (scans > 0) {
        const std::size_t sos = findMarker(small, 0xDA);
        const Bytes scan(small.begin() + std::ptrdiff_t(sos),
                         small.begin() + std::ptrdiff_t(endOfScan(small, sos)));
        for (int have = countScans(small); have < scans; ++have)
            small = inserted(small, sos, scan);
    }
    return withSize(small, width, height);
}

// What one decode may cost is decided from the file before any pixel memory
// is taken; 100-megapixel photographs stay inside.
TEST(JpegBadInput, CostlyFilesAreRefusedFromTheirHeader)
{
    const struct {
        const char* name;
        Bytes jpeg;
        bool loads;
    } cases[] = {
        {"100 MP", shaped(Sampling::s420, false, 10000, 10000), true},
        {"100 MP progressive 4:4:4", shaped(Sampling::s444, true, 10000, 10000), true},
        {"160 MP", shaped(Sampling::s420, false, 12649, 12649), true},
        {"over 160 MP", shaped(Sampling::s420, false, 12650, 12650), false},
        {"progressive 4:4:4 over 1 GiB", shaped(Sampling::s444, true, 11000, 11000), false},
        {"progressive 4:2:0 under it", shaped(Sampling::s420, true, 12600, 12600), true},
        {"30 scans", shaped(Sampling::s420, true, 4000, 4000, 30), true},
        {"45 MP arithmetic progressive 4:4:4", shaped(Sampling::s444, true, 8200, 5500, 0, true),
         true},
        {"100 MP arithmetic progressive 4:4:4", shaped(Sampling::s444, true, 10000, 10000, 0, true),
         false},
        {"999 empty scans", shaped(Sampling::s420, true, 4000, 4000, 999), false},
    };
    const TempDir dir;
    for (const auto& c : cases) {
        const std::string file = dir.write("x.jpg", c.jpeg);
        if (c.loads)
            EXPECT_NO_THROW(Picture::load(file)) << c.name;
        else
            EXPECT_THROW(Picture::load(file), LoadFailure) << c.name;
    }
}

TEST(JpegBadInput, OddFilesAreRefusedWithoutReadingThem)
{
    const TempDir dir;
    const std::string fifo = (dir.path() / "fifo.jpg").string();
    ::mkfifo(fifo.c_str(), 0600);
    const std::string huge = dir.write("huge.jpg", colour());
    std::filesystem::resize_file(huge, std::uintmax_t{3} << 30);
    const std::string text = dir.write("text.jpg", Bytes(100, 'x'));
    std::filesystem::resize_file(text, std::uintmax_t{400} << 20);
    for (const std::string& file : {fifo, huge, text})
        EXPECT_THROW(Picture::load(file), LoadFailure) << file;
}

// The file's last byte lies right before a page that cannot be read, so a
// read past its end faults in every build, not only under the sanitizer.
class GuardedBytes {
  public:
    explicit GuardedBytes(const Bytes& bytes) : size_(bytes.size())
    {
        const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        inside_ = (size_ + page - 1) / page * page;
        base_ = static_cast<std::uint8_t*>(::mmap(nullptr, inside_ + page, PROT_READ | PROT_WRITE,
                                                  MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        ::mprotect(base_ + inside_, page, PROT_NONE);
        std::copy(bytes.begin(), bytes.end(), data());
        length_ = inside_ + page;
    }
    ~GuardedBytes() { ::munmap(base_, length_); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    std::uint8_t* data() const { return base_ + inside_ - size_; }
    std::size_t size() const { return size_; }

  private:
    std::uint8_t* base_ = nullptr;
    std::size_t size_, inside_ = 0, length_ = 0;
};

// A progressive file that ends in a scan header cut after `tail` bytes,
// padded with zeros before it to `total` bytes when that is larger.
Bytes endingInCutScanHeader(std::size_t tail, std::size_t total)
{
    JpegOptions o;
    o.width = o.height = 16;
    o.progressive = true;
    Bytes jpeg = makeJpeg(o);
    jpeg.resize(jpeg.size() - 2); // no end marker
    const Bytes header = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00};
    if (total > jpeg.size() + tail)
        jpeg.resize(total - tail, 0);
    jpeg.insert(jpeg.end(), header.begin(), header.begin() + std::ptrdiff_t(tail));
    return jpeg;
}

TEST(JpegBadInput, MarkerWalkStaysInsideTheFile)
{
    constexpr std::size_t kEightMiB = std::size_t{8} << 20;
    const struct {
        std::size_t tail, total;
    } cases[] = {{4, kEightMiB}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}};
    for (const auto& c : cases) {
        const GuardedBytes file(endingInCutScanHeader(c.tail, c.total));
        const auto header = pictures::readHeader(file.data(), file.size());
        ASSERT_TRUE(header.has_value()) << c.tail << " " << c.total;
        EXPECT_EQ(header->width, 16);
    }
}

// An error after the last row keeps the whole picture.
TEST(JpegBadInput, ErrorAfterTheRowsKeepsThePicture)
{
    const Bytes good = colour();
    const Bytes bad = inserted(good, good.size() - 2, {0xFF, 0x02, 0, 4, 1, 2});
    const TempDir dir;
    const Picture expected = Picture::load(dir.write("good.jpg", good));
    const Picture damaged = Picture::load(dir.write("bad.jpg", bad));
    const pictures::Bitmap& a = *expected.bitmap();
    const pictures::Bitmap& b = *damaged.bitmap();
    EXPECT_EQ(damaged.takeDecodeError(),
              (pictures::DecodeError{pictures::PictureFormat::jpeg, JERR_UNKNOWN_MARKER}));
    for (int y = 0; y < a.height; ++y)
        ASSERT_TRUE(std::equal(a.row(y), a.row(y) + a.stride, b.row(y))) << "row " << y;
}

// An error before the first row leaves a black picture of the header's size.
TEST(JpegBadInput, ErrorBeforeTheRowsGivesBlack)
{
    const TempDir dir;
    const Picture picture =
        Picture::load(dir.write("huff.jpg", withImpossibleHuffmanTable(colour())));
    const pictures::Bitmap* bitmap = picture.bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->width, 64);
    EXPECT_EQ(bitmap->height, 48);
    for (int y = 0; y < bitmap->height; ++y)
        for (std::size_t x = 0; x < bitmap->stride; ++x)
            ASSERT_EQ(bitmap->row(y)[x], 0);
}

} // namespace

// Decodes on several threads take turns when their declared costs do not
// fit the process's budget together, instead of adding up.
TEST(JpegBadInput, ADecodeWaitsUntilItsShareOfTheProcessBudgetFits)
{
    using pictures::budget::ProcessShare;
    auto whole = std::make_unique<ProcessShare>(tunables::kMaxProcessDecodeBytes);
    std::atomic<bool> entered{false};
    std::thread other([&] {
        const ProcessShare small(1);
        entered = true;
    });
    while (ProcessShare::waiting() == 0)
        std::this_thread::yield();
    EXPECT_FALSE(entered);
    whole.reset();
    other.join();
    EXPECT_TRUE(entered);
    // More than the budget is taken as the whole of it: never waits for ever.
    const ProcessShare huge(~std::uint64_t{0});
}
