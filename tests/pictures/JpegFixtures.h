#pragma once

// JPEG fixtures made with libjpeg's compressor, and helpers to hand them to
// the program and to djpeg through files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fixtures {

using Bytes = std::vector<std::uint8_t>;

enum class Sampling { s420, s422, s444 };
enum class Colours { rgb, grey, cmyk, ycck };

struct JpegOptions {
    int width = 64;
    int height = 48;
    Colours colours = Colours::rgb;
    Sampling sampling = Sampling::s420;
    int quality = 90;
    bool progressive = false;
    bool arithmetic = false;
    int restartRows = 0;      // a restart marker every this many MCU rows
    bool adobeMarker = true;  // for CMYK: write the Adobe marker
    std::uint8_t ink[4] = {}; // for CMYK: the one colour of the whole picture
    // RGB pixels row by row, width x height x 3, instead of the made-up picture.
    const std::vector<std::uint8_t>* rgb = nullptr;
};

// A picture with smooth gradients and some edges (not noise).
Bytes makeJpeg(const JpegOptions& options);

// Offset of the first marker 0xFF `code` after the start marker; throws if absent.
std::size_t findMarker(const Bytes& jpeg, std::uint8_t code);

// An APP1 segment holding `tiff` after the "Exif" header.
Bytes exifSegment(const Bytes& tiff);

// A TIFF header and IFD0 with one entry: tag 0x0112 (orientation) of
// `type` (3: SHORT), count 1, `value`; in either byte order.
Bytes tiffWithOrientation(int value, bool bigEndian, std::uint16_t type = 3);

// `jpeg` with `segment` right after its start marker.
Bytes withSegment(Bytes jpeg, const Bytes& segment);

// A folder of its own below the system's temporary folder, removed at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string write(const std::string& name, const Bytes& bytes) const;
    std::filesystem::path path() const { return path_; }

  private:
    std::filesystem::path path_;
};

struct Pnm {
    int width = 0;
    int height = 0;
    int channels = 0; // 1 for PGM, 3 for PPM
    Bytes pixels;
};

// The reference tools of the same libjpeg-turbo: Debian's, or for a Windows
// build the cross-built ones.
#ifndef BB_JPEG_TOOL_FOLDER
#define BB_JPEG_TOOL_FOLDER "/usr/bin/"
#define BB_JPEG_TOOL_SUFFIX ""
#endif
inline const std::string kDjpeg = BB_JPEG_TOOL_FOLDER "djpeg" BB_JPEG_TOOL_SUFFIX;
inline const std::string kJpegtran = BB_JPEG_TOOL_FOLDER "jpegtran" BB_JPEG_TOOL_SUFFIX;

// Runs djpeg with `arguments` on `jpegFile`; false when it failed.
bool runDjpeg(const std::string& arguments, const std::string& jpegFile, Pnm& result);

// `jpeg` re-coded by jpegtran with `arguments` (e.g. "-arithmetic -progressive");
// empty when jpegtran failed.
Bytes recode(const std::string& arguments, const Bytes& jpeg);

} // namespace fixtures
