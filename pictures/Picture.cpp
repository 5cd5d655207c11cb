#include "pictures/Picture.h"

#include "core/RegularFile.h"
#include "pictures/PictureData.h"
#include "pictures/PictureList.h"
#include "pictures/PictureMemory.h"

#include <algorithm>
#include <utility>

namespace pictures {

namespace {

// The whole file, or nothing when it is not a regular file, too large for
// a photograph or, unless empty, does not start like a picture of a known
// format: that is seen before the rest is read.
bool readWholeFile(const std::string& fileName, std::shared_ptr<std::uint8_t[]>& bytes,
                   std::size_t& size)
{
    auto file = regularfile::Reader::open(fileName);
    if (!file || file->size() > tunables::kMaxPictureFileBytes)
        return false;
    size = static_cast<std::size_t>(file->size());
    if (size == 0)
        return true;
    std::uint8_t start[kSignatureLength] = {};
    const std::size_t startLength = std::min(size, kSignatureLength);
    if (file->read(start, startLength) != startLength || !formatOf(start, startLength))
        return false;
    bytes = allocateBytes(size);
    std::copy(start, start + startLength, bytes.get());
    return file->read(bytes.get() + startLength, size - startLength) == size - startLength;
}

} // namespace

Picture::Picture() = default;

Picture Picture::load(const std::string& fileName)
{
    const auto fail = [&] { return LoadFailure(fileName); };
    if (!isPictureName(fileName))
        throw fail();
    auto data = std::make_shared<Data>();
    if (!readWholeFile(fileName, data->bytes, data->size))
        throw fail();
    if (data->size > 0) {
        const auto header = readHeader(data->bytes.get(), data->size);
        if (!header || !budget::affordable(header->cost))
            throw fail();
        data->width = header->width;
        data->height = header->height;
        data->orientation = Orientation::fromExif(header->orientation);
        data->format = header->format;
    } else {
        data->decoded = true; // nothing to draw
    }
    Picture picture;
    picture.data_ = std::move(data);
    return picture;
}

Picture Picture::placeholder()
{
    static const Picture leer = [] {
        auto data = std::make_shared<Data>();
        data->bitmap = drawPlaceholder();
        data->width = data->bitmap.width;
        data->height = data->bitmap.height;
        data->decoded = true;
        Picture picture;
        picture.data_ = std::move(data);
        return picture;
    }();
    return leer;
}

int Picture::width() const
{
    return !data_ ? 0 : data_->orientation.transpose ? data_->height : data_->width;
}

int Picture::height() const
{
    return !data_ ? 0 : data_->orientation.transpose ? data_->width : data_->height;
}

Orientation Picture::orientation() const
{
    return data_ ? data_->orientation : Orientation{};
}

void Picture::decode() const
{
    if (data_ && !data_->decoded)
        decodeUntil(kNoDeadline);
}

bool Picture::decodeStep(std::chrono::microseconds budget) const
{
    return decodeUntil(deadlineAfter(budget));
}

bool Picture::isDecoded() const
{
    return !data_ || data_->decoded;
}

bool Picture::decodeUntil(Deadline deadline) const
{
    if (!data_ || data_->decoded)
        return true;
    Data& data = *data_;
    if (!data.decoder)
        data.decoder = openDecoder(
            data.bytes.get(), data.size,
            PictureHeader{.width = data.width, .height = data.height, .format = data.format});
    if (!data.decoder->step(deadline))
        return false;
    DecodedPicture decoded = data.decoder->take();
    data.bitmap = std::move(decoded.bitmap);
    data.decodeError = decoded.error;
    data.decoded = true;
    // Decoding happens once; the decoder's state and the compressed bytes
    // are of no further use.
    data.decoder.reset();
    data.bytes.reset();
    data.size = 0;
    return true;
}

const Bitmap* Picture::bitmap() const
{
    decode();
    if (!data_ || !data_->bitmap.pixels)
        return nullptr;
    return &data_->bitmap;
}

std::optional<DecodeError> Picture::takeDecodeError() const
{
    if (!data_)
        return std::nullopt;
    return std::exchange(data_->decodeError, std::nullopt);
}

const Bitmap* Picture::stretched(int w, int h) const
{
    const Bitmap* source = bitmap();
    if (!source || w <= 0 || h <= 0)
        return nullptr;
    stretchUntil(w, h, kNoDeadline);
    return &data_->stretched;
}

bool Picture::stretchStep(int w, int h, std::chrono::microseconds budget) const
{
    const Deadline deadline = deadlineAfter(budget);
    const bool wasDecoded = isDecoded();
    if (!decodeUntil(deadline))
        return false;
    if (!data_ || !data_->bitmap.pixels || w <= 0 || h <= 0)
        return true;
    if (!wasDecoded && SliceClock::now() >= deadline && !isStretched(w, h))
        return false; // the decode's last step took the slice
    return stretchUntil(w, h, deadline);
}

bool Picture::isStretched(int w, int h) const
{
    const Bitmap& done = data_->stretched;
    return done.pixels && done.width == w && done.height == h;
}

bool Picture::stretchUntil(int w, int h, Deadline deadline) const
{
    if (isStretched(w, h))
        return true;
    std::unique_ptr<Stretcher>& stretcher = data_->stretcher;
    if (stretcher && (stretcher->width() != w || stretcher->height() != h))
        stretcher.reset();
    if (!stretcher)
        stretcher = std::make_unique<Stretcher>(data_->bitmap, w, h, data_->orientation);
    if (!stretcher->step(deadline))
        return false;
    data_->stretched = stretcher->take();
    stretcher.reset();
    return true;
}

bool Picture::sharesDataWith(const Picture& other) const
{
    return data_ == other.data_;
}

} // namespace pictures
