#pragma once

// Sizing the frame to a picture: pure arithmetic, no widgets.
namespace fitting {

struct FitResult {
    long double scale; // the ScaleFactor, 80-bit like the rest of the rule
    int left;
    int top;
    int width;
    int height;
};

// Frame for a w x h picture in a W x H window whose rating panel is P wide.
// A 0 x 0 picture gives a 0 x 0 frame.
FitResult fitPicture(int w, int h, int W, int H, int P);

} // namespace fitting
