#pragma once

#include "evaluation/Tunables.h"
#include "evaluation/outputs/Thumbnails.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace evaluation {

// Where the cache lives: the folders `below` inside `base`, each made when
// missing; all of them must be the user's own and writable by no one else.
struct CachePlace {
    std::string base;
    std::vector<std::string> below;
    // The folder at `path`, checked from its parent down.
    static CachePlace of(const std::string& path);
};

// The thumbnails kept on disk between runs, in the user's cache folder,
// never in the competition folder (it is copied to the judges): one file
// per picture, keyed by the picture's absolute path, size, modification
// time, identity and change time and the thumbnail rule, holding its two
// JPEGs, not pixels. Bounded (tunables::kThumbnailCacheBytes, the oldest go
// first); a damaged, unreadable or misfitting entry counts as missing.
// Everything in it is read, written and removed inside the folder held
// open, never through a link; a place others could change is not used.
// Safe on several threads at once.
class ThumbnailCache {
  public:
    // The cache at `place`, at most `bound` bytes; none (nothing kept) when
    // it is nothing.
    explicit ThumbnailCache(const std::optional<CachePlace>& place,
                            std::uint64_t bound = tunables::kThumbnailCacheBytes);
    explicit ThumbnailCache(const std::string& folder,
                            std::uint64_t bound = tunables::kThumbnailCacheBytes)
        : ThumbnailCache(CachePlace::of(folder), bound)
    {
    }
    ~ThumbnailCache();
    ThumbnailCache(const ThumbnailCache&) = delete;
    ThumbnailCache& operator=(const ThumbnailCache&) = delete;

    // The user's cache folder ($XDG_CACHE_HOME/bildbewertung/thumbnails).
    static std::optional<CachePlace> userPlace();

    // Why a place was given but is not used this run (one German line).
    const std::optional<std::string>& refused() const { return refused_; }

    // The thumbnail kept for the picture at `path` (absolute) as it is now.
    std::optional<Thumbnail> load(const std::string& path, const FileStamp& stamp) const;
    // Keeps it; a failure to keep it only means decoding again next time.
    void store(const std::string& path, const FileStamp& stamp, const Thumbnail& thumbnail);
    // Removes the oldest entries while the cache is larger than its bound;
    // only when something was stored since the last trim.
    void trim();

  private:
    std::intptr_t folder_; // a platform::Folder
    std::optional<std::string> refused_;
    std::uint64_t bound_;
    std::atomic<bool> stored_{false};
};

} // namespace evaluation
