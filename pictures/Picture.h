#pragma once

#include "core/Failure.h"
#include "pictures/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pictures {

// A picture could not be loaded (unreadable file, no valid JPEG header, a
// kind other than JPEG, or beyond what one decode may cost).
class LoadFailure : public Failure {
  public:
    using Failure::Failure;
};

// A picture holder: the file's bytes and, once decoded, its bitmap, shared
// by all copies (copying is O(1)); the copies behave as independent values.
class Picture {
  public:
    Picture(); // an empty holder: 0 x 0, nothing to draw

    // Reads the whole file and parses its JPEG header; decoding is left for
    // later. A 0-byte file gives a 0 x 0 picture. Throws LoadFailure.
    static Picture load(const std::string& fileName);

    // `leer`: 500 x 348, black with a white cross of its two diagonals.
    static Picture placeholder();

    int width() const;
    int height() const;

    // Decodes at full size once; every copy shares the result. Never throws:
    // a libjpeg error keeps the part decoded so far and is remembered.
    void decode() const;

    // The decoded bitmap (decoding first if needed); nullptr for 0 x 0.
    const Bitmap* bitmap() const;

    // The libjpeg message code of an error met while decoding, handed out
    // once for all copies together; nothing afterwards.
    std::optional<int> takeDecodeError() const;

    // The bitmap stretched to w x h by nearest-neighbour resampling, as
    // Xrgb32; made once per size and shared by all copies.
    const Bitmap* stretched(int w, int h) const;

    // True when both holders share the same data (for tests and benches).
    bool sharesDataWith(const Picture& other) const;

  private:
    struct Data;
    std::shared_ptr<Data> data_;
};

} // namespace pictures
