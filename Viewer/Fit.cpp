#include "Viewer/Fit.h"

#include <cmath>
#include <limits>

namespace fitting {
namespace {

// Quotient of two pixel counts; a zero divisor gives +/-infinity (or NaN
// for 0/0) without relying on the FPU's trap settings.
long double quotient(int numerator, int denominator)
{
    if (denominator != 0) {
        return static_cast<long double>(numerator) / static_cast<long double>(denominator);
    }
    if (numerator == 0) {
        return std::numeric_limits<long double>::quiet_NaN();
    }
    return numerator > 0 ? std::numeric_limits<long double>::infinity()
                         : -std::numeric_limits<long double>::infinity();
}

// Truncation toward zero; what cannot be an int (0 x infinity on a window too
// small for the first test) becomes 0 or the nearest limit instead of UB.
int truncated(long double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<long double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (value <= static_cast<long double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

} // namespace

FitResult fitPicture(Size picture, Size window, int panelWidth)
{
    long double scale = 1.0L;
    if (!(picture.height < window.height - kHeightMargin &&
          picture.width < window.width - kNaturalWidthMargin)) {
        const long double byHeight = quotient(window.height - kHeightMargin, picture.height);
        const long double byWidth =
            quotient(window.width - panelWidth - kWidthMargin, picture.width);
        scale = byWidth >= byHeight ? byHeight : byWidth;
    }
    FitResult result{};
    result.scale = scale;
    result.width =
        picture.width == 0 ? 0 : truncated(static_cast<long double>(picture.width) * scale);
    result.height =
        picture.height == 0 ? 0 : truncated(static_cast<long double>(picture.height) * scale);
    result.top = (window.height - result.height) / 2;
    result.left = (window.width - result.width - panelWidth - kLeftMargin) / 2;
    return result;
}

} // namespace fitting
