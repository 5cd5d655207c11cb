#pragma once

#include "pictures/Decoder.h"
#include "pictures/Orientation.h"
#include "pictures/Picture.h"
#include "pictures/Slices.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace pictures {

// The nearest-neighbour resampling behind Picture::stretched, made in row
// slices: in the upright picture, source x of target x is x * upright width
// / target width, the same for y; `orientation` maps that to the stored
// pixel.
class Stretcher {
  public:
    Stretcher(const Bitmap& source, int width, int height, Orientation orientation = {});

    // Makes rows until `deadline` has passed (at least a few); true when all
    // are made.
    bool step(Deadline deadline);

    // The image, once step returned true.
    Bitmap take() { return std::move(target_); }

    int width() const { return target_.width; }
    int height() const { return target_.height; }

  private:
    void makeRows(int end);
    void makeTurnedRows(int end);

    Bitmap source_;
    Bitmap target_;
    Orientation orientation_;
    // Non-turned: of each target column in a source row. Turned (rows become
    // columns): of each target column's source row.
    std::vector<std::size_t> offsets_;
    bool fresh_ = false; // the image's pages are new: touch them ahead
    int nextRow_ = 0;
    int previousSourceRow_ = -1;
};

// What copies of a holder share: the file's bytes (dropped once decoded),
// the decode under way, the bitmap, made once, and the stretched image for
// the last size asked.
struct Picture::Data {
    std::shared_ptr<std::uint8_t[]> bytes; // dropped once decoded
    std::size_t size = 0;
    int width = 0; // stored, before the orientation
    int height = 0;
    Orientation orientation;
    PictureFormat format = PictureFormat::jpeg;

    bool decoded = false;
    std::unique_ptr<Decoder> decoder; // while a decode is under way
    Bitmap bitmap;
    std::optional<DecodeError> decodeError;

    Bitmap stretched;                     // empty until asked for
    std::unique_ptr<Stretcher> stretcher; // while a stretch is under way
};

// The placeholder's bitmap: 500 x 348, 0 or 255 per pixel.
Bitmap drawPlaceholder();

} // namespace pictures
