#pragma once

#include "pictures/Bitmap.h"
#include "pictures/Decoder.h"
#include "pictures/Orientation.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace pictures {

// A picture could not be loaded (unreadable file, no valid picture header,
// a format not known, or beyond what one decode may cost). It holds the
// name as bytes and no text for the judge: whoever tells the judge shows the
// name by the one display rule of the programs (common::displayFileName).
class LoadFailure : public std::runtime_error {
  public:
    explicit LoadFailure(const std::string& fileName)
        : std::runtime_error("picture not loaded"), fileName_(fileName)
    {
    }
    const std::string& fileName() const noexcept { return fileName_; }

  private:
    std::string fileName_;
};

// A picture holder: the file's bytes and, once decoded, its bitmap, shared
// by all copies (copying is O(1)). Copies share everything that happens to
// the picture (its decode, its stretched image, its decode error handed out
// once); assigning another picture to a holder leaves its former copies
// alone.
class Picture {
  public:
    Picture(); // an empty holder: 0 x 0, nothing to draw

    // Reads the whole file and parses its header; decoding is left for
    // later. A 0-byte file gives a 0 x 0 picture. Throws LoadFailure.
    static Picture load(const std::string& fileName);

    // `leer`: 500 x 348, black with a white cross of its two diagonals.
    static Picture placeholder();

    // The upright size: a portrait stored lying (EXIF orientation 5..8)
    // has its sides swapped.
    int width() const;
    int height() const;

    // How bitmap() stands upright; stretched() is upright already.
    Orientation orientation() const;

    // Decodes at full size once; every copy shares the result. Never throws:
    // a decode error keeps the part decoded so far and is remembered.
    // Finishes at once a decode under way in steps.
    void decode() const;

    // Goes on with the decode for about `budget` of work (the clock is
    // looked at every few rows or portion of input; a zero budget makes one
    // small step), so that an event loop can decode between events. True
    // once decoded: then bitmap() and takeDecodeError() cost nothing more.
    // The decode's state is shared by all copies; dropping the last one
    // drops it, however far it had got.
    bool decodeStep(std::chrono::microseconds budget) const;

    // True once decoded (also for an empty holder and the placeholder).
    bool isDecoded() const;

    // The decoded bitmap as stored (decoding first if needed); nullptr for
    // 0 x 0. orientation() maps it upright.
    const Bitmap* bitmap() const;

    // The error met while decoding, handed out once for all copies
    // together; nothing afterwards.
    std::optional<DecodeError> takeDecodeError() const;

    // The bitmap upright and stretched to w x h by nearest-neighbour
    // resampling, as Xrgb32; made once per size and shared by all copies.
    const Bitmap* stretched(int w, int h) const;

    // decodeStep, then the stretched image for w x h made in row slices
    // within the same kind of budget. True once stretched(w, h) is ready
    // and costs nothing more (or is nullptr: nothing to draw). A stretch
    // under way for another size is dropped.
    bool stretchStep(int w, int h, std::chrono::microseconds budget) const;

    // True when both holders share the same data (for tests and benches).
    bool sharesDataWith(const Picture& other) const;

  private:
    struct Data;

    bool decodeUntil(std::chrono::steady_clock::time_point deadline) const;
    bool isStretched(int w, int h) const;
    bool stretchUntil(int w, int h, std::chrono::steady_clock::time_point deadline) const;

    std::shared_ptr<Data> data_;
};

} // namespace pictures
