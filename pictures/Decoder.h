#pragma once

// Where a picture format begins. Everything above pictures/ reads, decodes
// and reports on a picture through this header alone: its header (size,
// orientation, cost), its decode in steps, scaled or not, and its errors.
// JPEG through libjpeg (Jpeg.cpp, JpegDecoder.cpp) is the one format so
// far; another gets its value in PictureFormat and its reader and decoder
// behind the functions below (the compiler names every switch to extend).
// The names a picture file may have: folderlisting::kPictureExtensions.

#include "pictures/Bitmap.h"
#include "pictures/DecodeBudget.h"
#include "pictures/Slices.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pictures {

enum class PictureFormat { jpeg };

// Every format, for whoever reads one back by its number.
inline constexpr std::array kPictureFormats{PictureFormat::jpeg};

// How many bytes at a file's start tell its format (the longest signature).
inline constexpr std::size_t kSignatureLength = 2;

// The format whose signature `data` starts with; nothing for another.
std::optional<PictureFormat> formatOf(const std::uint8_t* data, std::size_t size);

// A decode that failed: the number is the format's library's own message
// code, and what the judge and the organiser are told.
struct DecodeError {
    PictureFormat format = PictureFormat::jpeg;
    int number = 0;

    bool operator==(const DecodeError&) const = default;
};

// The error as the programs show it: "JPEG-Fehler #68".
std::string errorText(const DecodeError& error);

struct PictureHeader {
    int width = 0; // as stored, before the orientation
    int height = 0;
    budget::Cost cost{}; // what decoding it would take
    int orientation = 1; // EXIF: how the stored pixels stand upright
    PictureFormat format = PictureFormat::jpeg;
};

// Parses the header of the picture in `data` and estimates the cost of
// decoding it; nothing when it is no header of a known format.
std::optional<PictureHeader> readHeader(const std::uint8_t* data, std::size_t size);

struct DecodedPicture {
    Bitmap bitmap;                    // Rgb24, or Gray8 for a grayscale picture
    std::optional<DecodeError> error; // when decoding failed
    bool warned = false;              // the library warned (e.g. the file ended early)
};

// Where a decoder takes its bitmap's memory: the judging program's pool of
// kept blocks (one thread), or plain heap memory (any thread).
enum class PixelPool { shared, own };

// A decode in steps of bounded work, so that an event loop can decode
// between events; the decoder keeps its state between them. Destroying it
// at any point releases that state and its memory.
class Decoder {
  public:
    virtual ~Decoder() = default;

    // Works until `deadline` has passed, looking at the clock every few rows
    // or portion of input, but always makes some headway; true when done.
    virtual bool step(Deadline deadline) = 0;

    // The result, once step returned true; once.
    virtual DecodedPicture take() = 0;
};

// A decoder of the picture whose header is `header`, at 1/`scaleDenominator`
// of its size (1, 2, 4 or 8; only what the smaller picture needs is
// decoded). On an error the rows decoded so far are kept and the rest is
// black; when nothing could be decoded the bitmap is black at the header's
// size at that scale. `data` must stay valid while the decoder lives.
std::unique_ptr<Decoder> openDecoder(const std::uint8_t* data, std::size_t size,
                                     const PictureHeader& header, int scaleDenominator = 1,
                                     PixelPool pool = PixelPool::shared);

} // namespace pictures
