#include "pictures/ScaledDecode.h"

#include "pictures/Decoder.h"
#include "pictures/Orientation.h"

#include <algorithm>
#include <utility>

namespace pictures {

int scaleDenominatorFor(int width, int height, int longSide)
{
    const int longer = std::max(width, height);
    for (const int denominator : {8, 4, 2})
        if (longSide > 0 && (longer + denominator - 1) / denominator >= longSide)
            return denominator;
    return 1;
}

ScaledPicture decodeScaled(const std::uint8_t* data, std::size_t size, int longSide)
{
    ScaledPicture result;
    const auto header = readHeader(data, size);
    if (!header || !budget::affordable(header->cost)) {
        result.refused = true;
        return result;
    }
    const Orientation orientation = Orientation::fromExif(header->orientation);
    result.width = orientation.transpose ? header->height : header->width;
    result.height = orientation.transpose ? header->width : header->height;
    const int denominator = scaleDenominatorFor(header->width, header->height, longSide);
    result.scaleDenominator = denominator;
    DecodedPicture decoded;
    {
        // Decodes on many threads wait for their turn rather than add up.
        const budget::ProcessShare share(header->cost.bytes);
        const auto decoder = openDecoder(data, size, *header, denominator, PixelPool::own);
        decoder->step(kNoDeadline);
        decoded = decoder->take();
    }
    result.error = decoded.error;
    result.warned = decoded.warned;
    result.bitmap = uprightBitmap(decoded.bitmap, orientation);
    return result;
}

} // namespace pictures
