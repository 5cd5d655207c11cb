#include "Viewer/Fit.h"
#include "Viewer/Pan.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct FitCase {
    const char* name;
    int w, h, W, H, P;
    std::optional<long double> scale; // exact quotient the rule picks
    int left, top, width, height;
};

TEST(FitPicture, FollowsTheFourSteps)
{
    const FitCase cases[] = {
        {"4000x3000 height-bound", 4000, 3000, 1920, 1080, 313, 1040.0L / 3000.0L, 108, 20, 1386,
         1040},
        {"800x600 natural size", 800, 600, 1920, 1080, 313, 1.0L, 401, 240, 800, 600},
        {"1560x400 slightly enlarged", 1560, 400, 1920, 1080, 313, 1587.0L / 1560.0L, 7, 337, 1587,
         406},
        {"0x0 holder", 0, 0, 1920, 1080, 313, 1.0L, 801, 540, 0, 0},
        {"portrait", 3000, 4500, 1920, 1080, 313, 1040.0L / 4500.0L, 454, 20, 693, 1040},
        {"huge", 12000, 9000, 1920, 1080, 313, 1040.0L / 9000.0L, 108, 20, 1386, 1040},
        {"wide panorama", 8000, 1000, 1920, 1080, 313, 1587.0L / 8000.0L, 7, 441, 1587, 198},
        {"tie of both quotients", 1587, 1040, 1920, 1080, 313, 1.0L, 7, 20, 1587, 1040},
        {"just inside the natural-size test", 1519, 1039, 1920, 1080, 313, 1.0L, 41, 20, 1519,
         1039},
        {"width at the 400 margin", 1520, 300, 1920, 1080, 313, 1587.0L / 1520.0L, 7, 383, 1587,
         313},
        {"narrower panel", 4000, 3000, 1920, 1080, 200, 1040.0L / 3000.0L, 164, 20, 1386, 1040},
        // Extended precision matters: in double these two come out 1039 and
        // 1040 instead.
        {"80-bit keeps 1040", 3000, 4105, 1920, 1080, 313, 1040.0L / 4105.0L, 421, 20, 760, 1040},
        {"80-bit gives 1039", 3000, 8267, 1920, 1080, 313, 1040.0L / 8267.0L, 612, 20, 377, 1039},
        // Too small a window for the first test: 0/0 must not become a size.
        {"0x0 in a tiny window", 0, 0, 300, 30, 313, std::nullopt, -9, 15, 0, 0},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const fitting::FitResult r = fitting::fitPicture({c.w, c.h}, {c.W, c.H}, c.P);
        if (c.scale) {
            EXPECT_EQ(r.scale, *c.scale);
        }
        EXPECT_EQ(r.left, c.left);
        EXPECT_EQ(r.top, c.top);
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
    }
}

struct PanCase {
    const char* name;
    panning::PanInput in;
    int left, top;
};

TEST(PanTo, ClampsInOrder)
{
    // clang-format off
    // Each row: pointer x, y; picture left, top, width, height; drag start x, y;
    // frame width, height; then the expected left and top.
    const PanCase cases[] = {
        {"grabbed point follows the pointer",
         {   20,    30,     2,     2,   400,   300,    50,    50,   200,   150}, -28, -18},
        {"dragged beyond the left and top edge stops at 0",
         {   90,    95,   -10,   -10,   400,   300,    50,    50,   200,   150}, 0, 0},
        {"dragged beyond the right and bottom edge",
         {    0,     0,  -150,  -100,   400,   300,   100,   100,   200,   150}, -200, -150},
        {"smaller than the frame goes to the right and bottom edge",
         {   10,    10,     2,     2,   100,    80,    10,    10,   200,   150}, 100, 70},
        {"narrower only",
         {    5,     5,     2,   -50,   100,   300,     5,     5,   200,   150}, 100, -50},
        {"exactly the frame's size",
         {   50,    50,     0,     0,   200,   150,     0,     0,   200,   150}, 0, 0},
        {"start taken on the window background jumps",
         {   10,    10,  -100,  -100,   400,   300,   700,    20,   200,   150}, -200, -110},
    };
    // clang-format on
    for (const PanCase& c : cases) {
        SCOPED_TRACE(c.name);
        const panning::PanPosition p = panning::panTo(c.in);
        EXPECT_EQ(p.left, c.left);
        EXPECT_EQ(p.top, c.top);
    }
}

} // namespace
