#pragma once

#include <cstdint>

// The run-time state of the window that is not kept in its controls.
struct ViewerState {
    std::uint16_t PictureIndex = 0;
    std::uint16_t PictureCount = 0;
    bool HasPictures = false;
    bool LoadForward = false;
    bool LoadBack = false;
    long double ScaleFactor = 1.0L;
    bool ZoomMode = false;
    bool DragActive = false;
    std::int32_t DragStartX = 0;
    std::int32_t DragStartY = 0;
    std::uint8_t GrayLevel = 0;
    std::int32_t MaxPointsW = 0;
    std::int32_t MaxPointsT = 0;
    std::int32_t MaxPointsB = 0;
    std::int32_t MaxPointsTotal = 0;

    // Index tests widen both 16-bit values to signed 32 bits, so with no
    // pictures "not at the last one" is false.
    bool hasNext() const { return std::int32_t{PictureIndex} < std::int32_t{PictureCount} - 1; }
    bool hasPrevious() const { return PictureIndex != 0; }
};
