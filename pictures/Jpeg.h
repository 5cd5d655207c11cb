#pragma once

// JPEG behind Decoder.h, through libjpeg. Only Decoder.cpp and the Jpeg*.cpp
// files use this; everything else goes through Decoder.h.

#include "pictures/Decoder.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace pictures {

// Whether `data` starts with JPEG's start-of-image marker.
bool isJpegStart(const std::uint8_t* data, std::size_t size);

// readHeader for a JPEG: nothing when libjpeg does not accept it as a JPEG
// header.
std::optional<PictureHeader> readJpegHeader(const std::uint8_t* data, std::size_t size);

struct JpegDecoderSession;

// Decodes with float IDCT and block smoothing; grayscale through the
// one-pass quantizer with 236 levels, CMYK and YCCK converted to RGB here.
// The error's number is libjpeg's message code. A progressive file with
// more scans than tunables::kMaxScans, or more block visits than the budget
// allows, ends in JERR_BAD_PROGRESSION: a backstop behind the estimate from
// the header. The first steps absorb the input (all scans of a progressive
// file), the later ones make rows.
class JpegDecoder final : public Decoder {
  public:
    // `scaleDenominator`: libjpeg's DCT scaling (1, 2, 4, 8).
    JpegDecoder(const std::uint8_t* data, std::size_t size, const PictureHeader& header,
                int scaleDenominator, PixelPool pool);
    ~JpegDecoder() override;
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    bool step(Deadline deadline) override;
    DecodedPicture take() override;

  private:
    enum class Stage { create, header, start, allocate, rows, release, finish, done };

    void fail(bool rowsStarted);
    bool arithmetic() const; // known once the header is read

    std::unique_ptr<JpegDecoderSession> session_;
    const std::uint8_t* data_;
    std::size_t size_;
    int fallbackWidth_; // the header's size at the scale
    int fallbackHeight_;
    int scaleDenominator_;
    PixelPool pool_;
    Stage stage_ = Stage::create;
    bool freshPixels_ = false; // the bitmap's pages are new: touch them ahead
    DecodedPicture result_;
};

} // namespace pictures
