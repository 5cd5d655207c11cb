#pragma once

#include <cstdint>

// The run-time state of the window that is not kept in its controls. Each
// field has one writer, named beside it; the display scale is not kept: the
// fitting rule computes it for each picture and nothing reads it later.
struct ViewerState {
    std::uint16_t PictureIndex = 0;  // the picture show
    std::uint16_t PictureCount = 0;  // the picture show (its list's length)
    bool HasPictures = false;        // the picture show
    bool LoadForward = false;        // the picture cache
    bool LoadBack = false;           // the picture cache
    bool ZoomMode = false;           // the loupe command
    bool DragActive = false;         // the picture frame (pan)
    std::int32_t DragStartX = 0;     // the picture frame (pan)
    std::int32_t DragStartY = 0;     // the picture frame (pan)
    std::uint8_t GrayLevel = 0;      // the background grey command
    std::int32_t MaxPointsW = 0;     // start-up, from the weighting; the sums read them
    std::int32_t MaxPointsT = 0;     // start-up
    std::int32_t MaxPointsB = 0;     // start-up
    std::int32_t MaxPointsTotal = 0; // start-up

    // Index tests widen both 16-bit values to signed 32 bits, so with no
    // pictures "not at the last one" is false.
    bool hasNext() const { return std::int32_t{PictureIndex} < std::int32_t{PictureCount} - 1; }
    bool hasPrevious() const { return PictureIndex != 0; }
};
