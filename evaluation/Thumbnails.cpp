#include "evaluation/Thumbnails.h"

#include "evaluation/Folder.h"

#include <algorithm>
#include <mutex>
#include <sys/stat.h>

namespace evaluation {

FileStamp stampOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000LL + info.st_mtim.tv_nsec};
}

Thumbnail shrink(const Thumbnail& source, int side)
{
    if (!source.ok || std::max(source.width, source.height) <= side)
        return source;
    Thumbnail target = source;
    const bool wide = source.width >= source.height;
    target.width = wide ? side : std::max(1, int(long(source.width) * side / source.height));
    target.height = wide ? std::max(1, int(long(source.height) * side / source.width)) : side;
    const int channels = source.channels;
    // A fresh buffer: assign() would keep the source's capacity, a full
    // decode's worth of memory for every stored thumbnail.
    target.pixels = std::vector<std::uint8_t>(std::size_t(target.width) * target.height * channels);
    std::vector<unsigned> sums(std::size_t(target.width) * channels);
    for (int ty = 0; ty < target.height; ++ty) {
        const int y0 = int(long(ty) * source.height / target.height);
        const int y1 = std::max(y0 + 1, int(long(ty + 1) * source.height / target.height));
        std::fill(sums.begin(), sums.end(), 0u);
        std::vector<unsigned> counts(std::size_t(target.width), 0);
        for (int tx = 0; tx < target.width; ++tx) {
            const int x0 = int(long(tx) * source.width / target.width);
            const int x1 = std::max(x0 + 1, int(long(tx + 1) * source.width / target.width));
            for (int y = y0; y < y1; ++y) {
                const std::uint8_t* row =
                    source.pixels.data() + (std::size_t(y) * source.width + x0) * channels;
                for (int x = x0; x < x1; ++x)
                    for (int c = 0; c < channels; ++c)
                        sums[std::size_t(tx) * channels + c] += *row++;
            }
            counts[std::size_t(tx)] = unsigned((x1 - x0) * (y1 - y0));
        }
        std::uint8_t* out = target.pixels.data() + std::size_t(ty) * target.width * channels;
        for (int tx = 0; tx < target.width; ++tx)
            for (int c = 0; c < channels; ++c) {
                const unsigned count = counts[std::size_t(tx)];
                out[tx * channels + c] =
                    std::uint8_t((sums[std::size_t(tx) * channels + c] + count / 2) / count);
            }
    }
    return target;
}

bool ThumbnailStore::update(const std::string& folder, const std::vector<std::string>& pictures,
                            const Progress& progress, const std::atomic<bool>* cancel)
{
    std::unordered_map<std::string, Entry> kept;
    std::vector<std::string> wanted;
    std::vector<FileStamp> stamps;
    for (const std::string& picture : pictures) {
        const FileStamp stamp = stampOf(pathIn(folder, picture));
        const auto found = entries_.find(picture);
        if (found != entries_.end() && found->second.size == stamp.size &&
            found->second.modified == stamp.modified) {
            kept.emplace(picture, std::move(found->second));
            continue;
        }
        wanted.push_back(picture);
        stamps.push_back(stamp);
    }
    std::vector<Thumbnail> decoded(wanted.size());
    std::vector<char> done(wanted.size(), 0); // written by several threads: no vector<bool>
    std::mutex progressMutex;
    std::size_t finished = 0;
    parallelFor(wanted.size(), [&](std::size_t i) {
        if (cancel && cancel->load())
            return;
        decoded[i] = shrink(readThumbnail(pathIn(folder, wanted[i]), kStoredSide), kStoredSide);
        done[i] = 1;
        if (progress) {
            const std::lock_guard lock(progressMutex);
            progress(++finished, wanted.size());
        }
    });
    for (std::size_t i = 0; i < wanted.size(); ++i)
        if (done[i])
            kept.emplace(wanted[i],
                         Entry{stamps[i].size, stamps[i].modified, std::move(decoded[i])});
    entries_ = std::move(kept);
    return std::all_of(done.begin(), done.end(), [](char d) { return d != 0; });
}

const Thumbnail* ThumbnailStore::find(const std::string& picture) const
{
    const auto found = entries_.find(picture);
    return found != entries_.end() && found->second.thumbnail.ok ? &found->second.thumbnail
                                                                 : nullptr;
}

void ThumbnailStore::addProblems(Evaluation& evaluation) const
{
    for (const std::string& picture : evaluation.pictures) {
        const auto found = entries_.find(picture);
        if (found != entries_.end() && !found->second.thumbnail.ok)
            evaluation.problems.push_back(
                unreadablePicture(picture, found->second.thumbnail.jpegError.value_or(0)));
    }
}

} // namespace evaluation
