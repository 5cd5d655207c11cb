#include "pictures/Decoder.h"

#include "pictures/Jpeg.h"

namespace pictures {

std::optional<PictureFormat> formatOf(const std::uint8_t* data, std::size_t size)
{
    if (isJpegStart(data, size))
        return PictureFormat::jpeg;
    return std::nullopt;
}

std::string errorText(const DecodeError& error)
{
    switch (error.format) {
    case PictureFormat::jpeg:
        break;
    }
    return "JPEG-Fehler #" + std::to_string(error.number);
}

std::optional<PictureHeader> readHeader(const std::uint8_t* data, std::size_t size)
{
    const std::optional<PictureFormat> format = formatOf(data, size);
    if (!format)
        return std::nullopt;
    switch (*format) {
    case PictureFormat::jpeg:
        return readJpegHeader(data, size);
    }
    return std::nullopt;
}

std::unique_ptr<Decoder> openDecoder(const std::uint8_t* data, std::size_t size,
                                     const PictureHeader& header, int scaleDenominator,
                                     PixelPool pool)
{
    switch (header.format) {
    case PictureFormat::jpeg:
        break;
    }
    return std::make_unique<JpegDecoder>(data, size, header, scaleDenominator, pool);
}

} // namespace pictures
