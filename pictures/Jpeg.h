#pragma once

#include "pictures/Bitmap.h"
#include "pictures/DecodeBudget.h"
#include "pictures/Slices.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace pictures {

struct JpegHeader {
    int width = 0;
    int height = 0;
    budget::Cost cost;   // what decoding it would take
    int orientation = 1; // EXIF: how the stored pixels stand upright
};

// Parses the header of the JPEG in `data` with libjpeg and estimates the
// cost of decoding it; nothing when libjpeg does not accept it as a JPEG
// header.
std::optional<JpegHeader> readJpegHeader(const std::uint8_t* data, std::size_t size);

struct DecodedJpeg {
    Bitmap bitmap;            // Rgb24, or Gray8 for a grayscale file
    std::optional<int> error; // libjpeg's message code when decoding failed
    bool warned = false;      // libjpeg warned (e.g. the file ended early)
};

// Decodes at full size with float IDCT and block smoothing; grayscale
// through the one-pass quantizer with 236 levels, CMYK and YCCK converted
// to RGB here. On an error the rows decoded so far are kept, the rest is
// black; when nothing could be decoded the bitmap is black at `fallback`.
// A progressive file with more scans than tunables::kMaxScans, or more
// block visits than the budget allows, ends in JERR_BAD_PROGRESSION: a
// backstop behind the estimate from the header.
DecodedJpeg decodeJpeg(const std::uint8_t* data, std::size_t size, JpegHeader fallback);

struct JpegDecoderSession;

// Where a decoder takes its bitmap's memory: the judging program's pool of
// kept blocks (one thread), or plain heap memory (any thread).
enum class PixelPool { shared, own };

// The same decode in steps of bounded work; libjpeg keeps its state between
// them. The first steps absorb the input (all scans of a progressive file),
// the later ones make rows. `data` must stay valid while this lives;
// destroying it at any point releases libjpeg's state and memory.
class JpegDecoder {
  public:
    // `scaleDenominator`: libjpeg's DCT scaling (1, 2, 4, 8); `fallback` is
    // the size at that scale.
    JpegDecoder(const std::uint8_t* data, std::size_t size, JpegHeader fallback,
                int scaleDenominator = 1, PixelPool pool = PixelPool::shared);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Works until `deadline` has passed, checking the clock every few rows
    // or portion of input, but always makes some headway; true when done.
    bool step(Deadline deadline);

    // The result, once step returned true; once.
    DecodedJpeg take();

  private:
    enum class Stage { create, header, start, allocate, rows, release, finish, done };

    void fail(bool rowsStarted);
    bool arithmetic() const; // known once the header is read

    std::unique_ptr<JpegDecoderSession> session_;
    const std::uint8_t* data_;
    std::size_t size_;
    JpegHeader fallback_;
    int scaleDenominator_;
    PixelPool pool_;
    Stage stage_ = Stage::create;
    bool freshPixels_ = false; // the bitmap's pages are new: touch them ahead
    DecodedJpeg result_;
};

} // namespace pictures
