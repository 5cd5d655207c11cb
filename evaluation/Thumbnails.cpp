#include "evaluation/Thumbnails.h"

#include "core/Tunables.h"
#include "evaluation/Folder.h"

#include <algorithm>
#include <mutex>
#include <sys/stat.h>

namespace evaluation {

namespace {
// The page stays small for the web; print keeps the detail.
constexpr int kPageQuality = 80;
constexpr int kPrintQuality = 94;
} // namespace

FileStamp stampOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000LL + info.st_mtim.tv_nsec};
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
        decoded[i] = readThumbnail(pathIn(folder, wanted[i]), tunables::kThumbnailSide);
        if (decoded[i].ok) {
            decoded[i].pageJpeg = encodeJpeg(decoded[i], kPageQuality);
            decoded[i].printJpeg = encodeJpeg(decoded[i], kPrintQuality);
        }
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
                unreadablePicture(picture, found->second.thumbnail.jpegError.value_or(0)));
    }
}

} // namespace evaluation
