#include "pictures/Picture.h"

#include "core/Messages.h"
#include "core/RegularFile.h"
#include "pictures/Jpeg.h"
#include "pictures/PictureData.h"
#include "pictures/PictureMemory.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace pictures {

namespace {

bool hasJpegExtension(const std::string& fileName)
{
    const auto dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = fileName.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".jpg" || extension == ".jpeg";
}

// The whole file, or nothing when it is not a regular file, too large for
// a photograph or, unless empty, does not start like a JPEG: that is seen
// before the rest is read.
bool readWholeFile(const std::string& fileName, std::shared_ptr<std::uint8_t[]>& bytes,
                   std::size_t& size)
{
    auto file = regularfile::Reader::open(fileName);
    if (!file || file->size() > budget::kMaxFileBytes)
        return false;
    size = static_cast<std::size_t>(file->size());
    if (size == 0)
        return true;
    constexpr std::size_t kStartLength = 2;
    constexpr std::uint8_t kStart[kStartLength] = {0xFF, 0xD8};
    std::uint8_t start[kStartLength] = {};
    if (size < kStartLength || file->read(start, kStartLength) != kStartLength ||
        !std::equal(start, start + kStartLength, kStart))
        return false;
    bytes = allocatePixels(size); // big files: huge pages, like the bitmaps
    std::copy(start, start + kStartLength, bytes.get());
    return file->read(bytes.get() + kStartLength, size - kStartLength) == size - kStartLength;
}

} // namespace

Picture::Picture() = default;

Picture Picture::load(const std::string& fileName)
{
    const auto fail = [&] {
        return LoadFailure(messages::cannotOpenPicture(displayText(fileName)));
    };
    if (!hasJpegExtension(fileName))
        throw fail();
    auto data = std::make_shared<Data>();
    if (!readWholeFile(fileName, data->bytes, data->size))
        throw fail();
    if (data->size > 0) {
        const auto header = readJpegHeader(data->bytes.get(), data->size);
        if (!header || !budget::affordable(header->cost))
            throw fail();
        data->width = header->width;
        data->height = header->height;
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
    return data_ ? data_->width : 0;
}

int Picture::height() const
{
    return data_ ? data_->height : 0;
}

void Picture::decode() const
{
    if (!data_ || data_->decoded)
        return;
    DecodedJpeg decoded =
        decodeJpeg(data_->bytes.get(), data_->size, JpegHeader{data_->width, data_->height, {}});
    data_->bitmap = std::move(decoded.bitmap);
    data_->decodeError = decoded.error;
    data_->decoded = true;
    // Decoding happens once; the compressed bytes are of no further use.
    data_->bytes.reset();
    data_->size = 0;
}

const Bitmap* Picture::bitmap() const
{
    decode();
    if (!data_ || !data_->bitmap.pixels)
        return nullptr;
    return &data_->bitmap;
}

std::optional<int> Picture::takeDecodeError() const
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
    Bitmap& cached = data_->stretched;
    if (!cached.pixels || cached.width != w || cached.height != h)
        cached = stretchBitmap(*source, w, h);
    return &cached;
}

bool Picture::sharesDataWith(const Picture& other) const
{
    return data_ == other.data_;
}

} // namespace pictures
