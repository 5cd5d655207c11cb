#include "pictures/PictureData.h"
#include "pictures/PictureMemory.h"

#include <cmath>
#include <cstring>

namespace pictures {

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 348;
constexpr double kInset = 12;   // where the diagonals end, from each edge
constexpr double kHalfLine = 4; // half the line thickness

// True when (x, y) lies on the thick line from a to b, cut square at its ends.
bool onLine(double x, double y, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double length = std::hypot(dx, dy);
    const double along = ((x - ax) * dx + (y - ay) * dy) / length;
    const double across = std::abs((x - ax) * dy - (y - ay) * dx) / length;
    return along >= 0 && along <= length && across <= kHalfLine;
}

} // namespace

Bitmap drawPlaceholder()
{
    Bitmap bitmap;
    bitmap.width = kWidth;
    bitmap.height = kHeight;
    bitmap.format = PixelFormat::Gray8;
    bitmap.stride = kWidth;
    bitmap.pixels = allocatePixels(bitmap.stride * kHeight);
    const double left = kInset, top = kInset;
    const double right = kWidth - 1 - kInset, bottom = kHeight - 1 - kInset;
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = bitmap.pixels.get() + static_cast<std::size_t>(y) * bitmap.stride;
        for (int x = 0; x < kWidth; ++x) {
            // Pixel centres, so that the cross is symmetric.
            const bool white =
                onLine(x, y, left, top, right, bottom) || onLine(x, y, right, top, left, bottom);
            row[x] = white ? 255 : 0;
        }
    }
    return bitmap;
}

} // namespace pictures
