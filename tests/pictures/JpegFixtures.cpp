#include "pictures/JpegFixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <jpeglib.h>

namespace fixtures {

namespace {

// std::system's result as the command's exit code, -1 when it did not exit.
int exitCode(int status)
{
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::uint8_t sample(int x, int y, int channel, const JpegOptions& o)
{
    const double fx = double(x) / std::max(1, o.width - 1);
    const double fy = double(y) / std::max(1, o.height - 1);
    double v = 0;
    switch (channel) {
    case 0:
        v = 200 * fx + 40 * std::sin(7 * fy);
        break;
    case 1:
        v = 180 * fy + 50 * std::cos(5 * fx + 3 * fy);
        break;
    default:
        v = 128 + 100 * std::sin(9 * (fx - fy));
        break;
    }
    if ((x / 13 + y / 11) % 5 == 0) // a few hard edges for the DCT to work on
        v = 255 - v;
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
}

void setSampling(jpeg_compress_struct& info, Sampling sampling)
{
    const int h = sampling == Sampling::s444 ? 1 : 2;
    const int v = sampling == Sampling::s420 ? 2 : 1;
    info.comp_info[0].h_samp_factor = h;
    info.comp_info[0].v_samp_factor = v;
    for (int c = 1; c < info.num_components; ++c)
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
}

} // namespace

Bytes makeJpeg(const JpegOptions& o)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error); // the fixtures are valid: errors end the test program
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);

    const bool ink = o.colours == Colours::cmyk || o.colours == Colours::ycck;
    info.image_width = o.width;
    info.image_height = o.height;
    info.input_components = o.colours == Colours::grey ? 1 : ink ? 4 : 3;
    info.in_color_space = o.colours == Colours::grey ? JCS_GRAYSCALE : ink ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    if (o.colours == Colours::ycck)
        jpeg_set_colorspace(&info, JCS_YCCK);
    info.write_Adobe_marker = ink ? o.adobeMarker : info.write_Adobe_marker;
    jpeg_set_quality(&info, o.quality, TRUE);
    if (o.colours != Colours::grey && !ink)
        setSampling(info, o.sampling);
    info.arith_code = o.arithmetic;
    info.restart_in_rows = o.restartRows;
    if (o.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);

    std::vector<JSAMPLE> row(static_cast<std::size_t>(o.width) * info.input_components);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < o.width; ++x)
            for (int c = 0; c < info.input_components; ++c)
                row[static_cast<std::size_t>(x) * info.input_components + c] =
                    ink     ? o.ink[c]
                    : o.rgb ? (*o.rgb)[(static_cast<std::size_t>(y) * o.width + x) * 3 + c]
                            : sample(x, y, c, o);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

Bytes exifSegment(const Bytes& tiff)
{
    const std::size_t length = 2 + 6 + tiff.size();
    Bytes segment = {
        0xFF, 0xE1, std::uint8_t(length >> 8), std::uint8_t(length), 'E', 'x', 'i', 'f', 0, 0};
    segment.insert(segment.end(), tiff.begin(), tiff.end());
    return segment;
}

Bytes tiffWithOrientation(int value, bool bigEndian, std::uint16_t type)
{
    Bytes tiff;
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
            tiff.push_back(std::uint8_t(v >> shift));
        }
    };
    tiff = {std::uint8_t(bigEndian ? 'M' : 'I'), std::uint8_t(bigEndian ? 'M' : 'I')};
    put(42, 2);
    put(8, 4); // IFD0 right after the header
    put(1, 2); // one entry
    put(0x0112, 2);
    put(type, 2);
    put(1, 4);
    put(std::uint32_t(value), 2); // a SHORT in the first two bytes of the value field
    put(0, 2);
    put(0, 4); // no next IFD
    return tiff;
}

Bytes withSegment(Bytes jpeg, const Bytes& segment)
{
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

std::size_t findMarker(const Bytes& jpeg, std::uint8_t code)
{
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == code)
            return i;
    throw std::runtime_error("marker not in fixture");
}

TempDir::TempDir()
{
    path_ = std::filesystem::temp_directory_path() /
            ("bbjpeg" + std::to_string(std::random_device()()));
    if (!std::filesystem::create_directory(path_))
        throw std::runtime_error("no temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const Bytes& bytes) const
{
    std::string file = (path_ / name).string();
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file;
}

namespace {

bool readPnm(const std::string& file, Pnm& pnm)
{
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic >> pnm.width >> pnm.height >> maxValue) || maxValue != 255)
        return false;
    in.get(); // the single white-space byte before the data
    pnm.channels = magic == "P6" ? 3 : magic == "P5" ? 1 : 0;
    pnm.pixels.assign(std::istreambuf_iterator<char>(in), {});
    return pnm.channels != 0 &&
           pnm.pixels.size() == std::size_t(pnm.width) * pnm.height * pnm.channels;
}

} // namespace

namespace {

// A path as one word for std::system's shell (sh, or cmd on Windows).
std::string quoted(const std::string& path)
{
#ifdef _WIN32
    return '"' + path + '"';
#else
    return '\'' + path + '\'';
#endif
}

#ifdef _WIN32
constexpr char kNoErrors[] = " 2>NUL";
#else
constexpr char kNoErrors[] = " 2>/dev/null";
#endif

} // namespace

bool runDjpeg(const std::string& arguments, const std::string& jpegFile, Pnm& result)
{
    const std::string out = jpegFile + ".pnm";
    const std::string command =
        kDjpeg + " " + arguments + " -outfile " + quoted(out) + " " + quoted(jpegFile) + kNoErrors;
    // djpeg exits with 2 after warnings, such as for a file that ends early.
    const int status = std::system(command.c_str());
    const bool ran = exitCode(status) == 0 || exitCode(status) == 2;
    return ran && readPnm(out, result);
}

Bytes recode(const std::string& arguments, const Bytes& jpeg)
{
    const TempDir dir;
    const std::string in = dir.write("in.jpg", jpeg), out = (dir.path() / "out.jpg").string();
    const std::string command =
        kJpegtran + " " + arguments + " -outfile " + quoted(out) + " " + quoted(in);
    if (std::system(command.c_str()) != 0)
        return {};
    std::ifstream file(out, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

} // namespace fixtures
