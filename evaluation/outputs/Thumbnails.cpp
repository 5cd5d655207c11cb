#include "evaluation/outputs/Thumbnails.h"

#include "core/Platform.h"
#include "core/RegularFile.h"
#include "core/Tunables.h"
#include "evaluation/Tunables.h"
#include "evaluation/outputs/ThumbnailCache.h"
#include "evaluation/ranking/Folder.h"
#include "pictures/Decoder.h"
#include "pictures/JpegEncode.h"
#include "pictures/ScaledDecode.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>

namespace evaluation {

bool readPicture(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    auto file = regularfile::Reader::open(path);
    if (!file || file->size() > tunables::kMaxPictureFileBytes)
        return false;
    bytes.resize(std::size_t(file->size()));
    return file->read(bytes.data(), bytes.size()) == bytes.size();
}

namespace {

// Whether a kept thumbnail is of the size the thumbnail rule gives the
// picture at `path` as it stands upright (its long side, its aspect within
// the rounding of the scaled decode). A failed one always fits: decoding
// again fails alike.
bool fitsPicture(const Thumbnail& thumbnail, const std::string& path)
{
    if (!thumbnail.ok)
        return true;
    // The header lies at the start: mostly in the first 16 KB, with a
    // camera's EXIF preview in 128 KB (a share is slow, and a folder of
    // hundreds is checked at every start); one beyond 1 MB means decoding again.
    auto file = regularfile::Reader::open(path);
    if (!file)
        return false;
    std::vector<std::uint8_t> bytes;
    std::optional<pictures::PictureHeader> header;
    for (const std::size_t want :
         {std::size_t{16} << 10, std::size_t{128} << 10, std::size_t{1} << 20}) {
        const std::size_t had = bytes.size();
        bytes.resize(std::size_t(std::min<std::uint64_t>(file->size(), want)));
        const auto got = bytes.size() > had ? file->read(bytes.data() + had, bytes.size() - had)
                                            : std::optional<std::size_t>(0);
        if (!got)
            return false;
        bytes.resize(had + *got);
        header = pictures::readHeader(bytes.data(), bytes.size());
        if (header || bytes.size() == had)
            break;
    }
    if (!header || header->width <= 0 || header->height <= 0)
        return false;
    const bool turned = header->orientation >= 5; // 5 to 8 swap width and height
    const long width = turned ? header->height : header->width;
    const long height = turned ? header->width : header->height;
    const long side = std::min<long>(tunables::kThumbnailSide, std::max(width, height));
    const long longer = std::max(thumbnail.width, thumbnail.height);
    const long shorter = std::min(thumbnail.width, thumbnail.height);
    const bool sameWay =
        width == height || (width > height) == (thumbnail.width >= thumbnail.height);
    return longer == side && sameWay &&
           std::abs(shorter * std::max(width, height) - std::min(width, height) * side) <=
               2 * std::max(width, height);
}

// Which of `wanted` to take next, each once: those `first` names while
// they are not taken, then the rest in order. Safe on several threads.
std::function<std::size_t()> order(const std::vector<std::string>& wanted,
                                   const std::function<std::vector<std::string>()>& first,
                                   std::mutex& mutex)
{
    struct State {
        std::unordered_map<std::string, std::size_t> index;
        std::vector<char> taken;
        std::size_t inOrder = 0;
    };
    auto state = std::make_shared<State>();
    state->taken.assign(wanted.size(), 0);
    if (first)
        for (std::size_t i = 0; i < wanted.size(); ++i)
            state->index.emplace(wanted[i], i);
    return [state, &first, &mutex] {
        const std::lock_guard lock(mutex);
        if (first)
            for (const std::string& picture : first()) {
                const auto found = state->index.find(picture);
                if (found != state->index.end() && !state->taken[found->second]) {
                    state->taken[found->second] = 1;
                    return found->second;
                }
            }
        while (state->taken[state->inOrder])
            ++state->inOrder;
        state->taken[state->inOrder] = 1;
        return state->inOrder;
    };
}

} // namespace

Thumbnail shrink(const std::uint8_t* pixels, std::size_t stride, int width, int height,
                 int channels, int side)
{
    Thumbnail target;
    target.channels = channels;
    target.ok = true;
    if (std::max(width, height) <= side) {
        target.width = width;
        target.height = height;
    } else if (width >= height) {
        target.width = side;
        target.height = std::max(1, int(long(height) * side / width));
    } else {
        target.width = std::max(1, int(long(width) * side / height));
        target.height = side;
    }
    target.pixels.resize(std::size_t(target.width) * target.height * channels);
    std::vector<unsigned> sums(std::size_t(target.width) * channels);
    std::vector<int> left(std::size_t(target.width) + 1);
    for (int tx = 0; tx <= target.width; ++tx)
        left[std::size_t(tx)] = int(long(tx) * width / target.width);
    for (int ty = 0; ty < target.height; ++ty) {
        const int y0 = int(long(ty) * height / target.height);
        const int y1 = std::max(y0 + 1, int(long(ty + 1) * height / target.height));
        std::fill(sums.begin(), sums.end(), 0u);
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* row = pixels + std::size_t(y) * stride;
            for (int tx = 0; tx < target.width; ++tx) {
                const int x1 = std::max(left[std::size_t(tx)] + 1, left[std::size_t(tx) + 1]);
                for (int x = left[std::size_t(tx)]; x < x1; ++x)
                    for (int c = 0; c < channels; ++c)
                        sums[std::size_t(tx) * channels + c] += row[x * channels + c];
            }
        }
        std::uint8_t* out = target.pixels.data() + std::size_t(ty) * target.width * channels;
        for (int tx = 0; tx < target.width; ++tx) {
            const int columns = std::max(left[std::size_t(tx)] + 1, left[std::size_t(tx) + 1]) -
                                left[std::size_t(tx)];
            const unsigned count = unsigned(columns * (y1 - y0));
            for (int c = 0; c < channels; ++c)
                out[tx * channels + c] =
                    std::uint8_t((sums[std::size_t(tx) * channels + c] + count / 2) / count);
        }
    }
    return target;
}

Thumbnail shrink(const Thumbnail& source, int side)
{
    if (!source.ok)
        return source;
    Thumbnail target = shrink(source.pixels.data(), std::size_t(source.width) * source.channels,
                              source.width, source.height, source.channels, side);
    target.scaleDenominator = source.scaleDenominator;
    return target;
}

namespace {

Thumbnail decodeThumbnail(const std::uint8_t* bytes, std::size_t size, int longSide)
{
    const pictures::ScaledPicture decoded = pictures::decodeScaled(bytes, size, longSide);
    const pictures::Bitmap& bitmap = decoded.bitmap;
    if (decoded.refused || decoded.error || !bitmap.pixels) {
        Thumbnail failed;
        failed.decodeError = decoded.error;
        return failed;
    }
    const int channels = bitmap.format == pictures::PixelFormat::Gray8 ? 1 : 3;
    Thumbnail thumbnail =
        shrink(bitmap.pixels.get(), bitmap.stride, bitmap.width, bitmap.height, channels, longSide);
    thumbnail.scaleDenominator = decoded.scaleDenominator;
    thumbnail.damaged = decoded.warned;
    return thumbnail;
}

} // namespace

Thumbnail readThumbnail(const std::string& path, int longSide)
{
    // Kept per thread: a new buffer for each picture would fault in its pages anew.
    thread_local std::vector<std::uint8_t> bytes;
    if (!readPicture(path, bytes) || bytes.empty())
        return Thumbnail();
    return decodeThumbnail(bytes.data(), bytes.size(), longSide);
}

void parallelFor(std::size_t count, const std::function<void(std::size_t)>& job)
{
    const std::size_t workers = std::min<std::size_t>(
        std::max(1u, std::thread::hardware_concurrency()), std::max<std::size_t>(count, 1));
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureMutex;
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                job(i);
            } catch (...) {
                const std::lock_guard lock(failureMutex);
                if (!failure)
                    failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < workers; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    if (failure)
        std::rethrow_exception(failure);
}

std::string encodeJpeg(const Thumbnail& thumbnail, int quality)
{
    if (thumbnail.pixels.size() < std::size_t(std::max(thumbnail.width, 0)) *
                                      std::size_t(std::max(thumbnail.height, 0)) *
                                      std::size_t(thumbnail.channels))
        return {};
    return pictures::encodeJpeg(thumbnail.pixels.data(), thumbnail.width, thumbnail.height,
                                thumbnail.channels, quality);
}

QImage decodedJpeg(const std::string& jpeg, int side)
{
    const Thumbnail thumbnail =
        decodeThumbnail(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size(), side);
    return thumbnail.ok ? thumbnailView(&thumbnail).copy() : QImage();
}

QImage thumbnailView(const Thumbnail* thumbnail)
{
    if (!thumbnail)
        return QImage();
    if (thumbnail->pixels.empty()) // a stored thumbnail keeps only its JPEGs
        return decodedJpeg(thumbnail->printJpeg, std::max(thumbnail->width, thumbnail->height));
    return QImage(thumbnail->pixels.data(), thumbnail->width, thumbnail->height,
                  qsizetype(thumbnail->width) * thumbnail->channels,
                  thumbnail->channels == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
}

FileStamp stampOf(const std::string& path)
{
    const auto info = platform::status(path);
    const auto version = platform::version(path);
    if (!info || !version)
        return {};
    return {static_cast<long long>(info->size), static_cast<long long>(info->modifiedNs),
            version->identity.device, version->identity.file,
            static_cast<long long>(version->changedNs)};
}

ThumbnailStore::ThumbnailStore()
    : cache_(std::make_unique<ThumbnailCache>(ThumbnailCache::userPlace()))
{
}

ThumbnailStore::ThumbnailStore(const std::optional<std::string>& cacheFolder)
    : cache_(std::make_unique<ThumbnailCache>(
          cacheFolder ? std::optional(CachePlace::of(*cacheFolder)) : std::nullopt))
{
}

const std::optional<std::string>& ThumbnailStore::cacheRefused() const
{
    return cache_->refused();
}

ThumbnailStore::~ThumbnailStore() = default;

bool ThumbnailStore::update(const std::string& folder, const std::vector<std::string>& pictures,
                            const Progress& progress, const std::atomic<bool>* cancel)
{
    Feed feed;
    feed.progress = progress;
    feed.cancel = cancel;
    return update(folder, pictures, feed);
}

bool ThumbnailStore::update(const std::string& folder, const std::vector<std::string>& pictures,
                            const Feed& feed)
{
    std::unordered_map<std::string, Entry> kept;
    std::vector<std::string> wanted;
    std::vector<FileStamp> stamps;
    for (const std::string& picture : pictures) {
        const FileStamp stamp = stampOf(pathIn(folder, picture));
        const auto found = entries_.find(picture);
        if (found != entries_.end() && found->second.stamp == stamp) {
            kept.emplace(picture, std::move(found->second));
            continue;
        }
        wanted.push_back(picture);
        stamps.push_back(stamp);
    }
    // The cache knows a picture by its whole path: "." is a different folder each time.
    const std::string absolute = platform::resolvedPath(folder).value_or(folder);
    std::vector<Thumbnail> decoded(wanted.size());
    std::vector<char> done(wanted.size(), 0); // written by several threads: no vector<bool>
    std::mutex feedMutex;                     // one call of the feed at a time
    std::size_t finished = 0;
    const auto next = order(wanted, feed.first, feedMutex);
    parallelFor(wanted.size(), [&](std::size_t) {
        const std::size_t i = next();
        if (feed.cancel && feed.cancel->load())
            return;
        const std::string path = pathIn(absolute, wanted[i]);
        auto cached = cache_->load(path, stamps[i]);
        if (cached && fitsPicture(*cached, pathIn(folder, wanted[i]))) {
            decoded[i] = std::move(*cached);
        } else {
            decoded[i] = readThumbnail(pathIn(folder, wanted[i]), tunables::kThumbnailSide);
            if (decoded[i].ok) {
                decoded[i].pageJpeg = encodeJpeg(decoded[i], tunables::kPageQuality);
                decoded[i].printJpeg = encodeJpeg(decoded[i], tunables::kPrintQuality);
                decoded[i].ok = !decoded[i].pageJpeg.empty() && !decoded[i].printJpeg.empty();
            }
            // The JPEGs are what the outputs take: the pixels would cost
            // twenty times their bytes for every picture held (`= {}`
            // would keep their capacity).
            std::vector<std::uint8_t>().swap(decoded[i].pixels);
            cache_->store(path, stamps[i], decoded[i]);
        }
        done[i] = 1;
        const std::lock_guard lock(feedMutex);
        if (feed.made)
            feed.made(wanted[i], decoded[i]);
        if (feed.progress)
            feed.progress(++finished, wanted.size());
    });
    for (std::size_t i = 0; i < wanted.size(); ++i)
        if (done[i])
            kept.emplace(wanted[i], Entry{stamps[i], std::move(decoded[i])});
    entries_ = std::move(kept);
    cache_->trim();
    return std::all_of(done.begin(), done.end(), [](char d) { return d != 0; });
}

const Thumbnail* ThumbnailStore::find(const std::string& picture) const
{
    const auto found = entries_.find(picture);
    return found != entries_.end() && found->second.thumbnail.ok ? &found->second.thumbnail
                                                                 : nullptr;
}

std::vector<const Thumbnail*>
ThumbnailStore::findAll(const std::vector<std::string>& pictures) const
{
    std::vector<const Thumbnail*> found;
    found.reserve(pictures.size());
    for (const std::string& picture : pictures)
        found.push_back(find(picture));
    return found;
}

void ThumbnailStore::addProblems(Evaluation& evaluation) const
{
    for (const std::string& picture : evaluation.pictures) {
        const auto found = entries_.find(picture);
        if (found != entries_.end() && !found->second.thumbnail.ok)
            evaluation.problems.push_back(
                unreadablePicture(picture, found->second.thumbnail.decodeError));
    }
}

} // namespace evaluation
