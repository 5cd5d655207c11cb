#pragma once

// Sizing the frame to a picture: pure arithmetic, no widgets.
namespace fitting {

// The margins of the rule, in window pixels (W x H the window, P the panel width).
inline constexpr int kHeightMargin = 40;        // the frame is at most H - 40 high
inline constexpr int kNaturalWidthMargin = 400; // narrower than W - 400 (and lower than
                                                // H - 40): shown at natural size
inline constexpr int kWidthMargin = 20;         // else at most W - P - 20 wide
inline constexpr int kLeftMargin = 5;           // left = (W - frame width - P - 5) / 2

// A size in pixels.
struct Size {
    int width;
    int height;
};

struct FitResult {
    long double scale; // the ScaleFactor, 80-bit like the rest of the rule
    int left;
    int top;
    int width;
    int height;
};

// Frame for a picture in a window whose rating panel is `panelWidth` wide.
// A 0 x 0 picture gives a 0 x 0 frame.
FitResult fitPicture(Size picture, Size window, int panelWidth);

} // namespace fitting
