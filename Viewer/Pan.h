#pragma once

// Where a pan step puts the picture: pure arithmetic, no widgets.
namespace panning {

struct PanInput {
    int x, y;                    // pointer, relative to the picture
    int left, top;               // picture's position in the frame
    int width, height;           // picture's size
    int startX, startY;          // DragStartX / DragStartY
    int frameWidth, frameHeight; // the frame's outer size
};

struct PanPosition {
    int left;
    int top;
};

// Keeps the grabbed point under the pointer without pulling the picture
// off the frame's left/top edge or past its right/bottom edge. The right
// and bottom clamps come last, so a picture smaller than the frame ends up
// at the frame's right or bottom edge.
PanPosition panTo(const PanInput& in);

} // namespace panning
