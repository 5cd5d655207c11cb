#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The show's state: the picture list and the shown picture's place in it.
// PictureShow, which loads the pictures, is its one writer.
class ShowState {
  public:
    const std::vector<std::string>& playlist() const { return Playlist; }

    // The shown picture's place in the list. Index tests widen both 16-bit
    // values to signed 32 bits, so with no pictures "not at the last one"
    // is false.
    int index() const { return PictureIndex; }
    int count() const { return PictureCount; }
    bool hasPictures() const { return HasPictures; }
    bool hasNext() const { return std::int32_t{PictureIndex} < std::int32_t{PictureCount} - 1; }
    bool hasPrevious() const { return PictureIndex != 0; }

  protected:
    std::vector<std::string> Playlist;
    std::uint16_t PictureIndex = 0;
    std::uint16_t PictureCount = 0;
    bool HasPictures = false;
};
