#pragma once

#include "evaluation/Tunables.h"
#include "evaluation/outputs/Thumbnails.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace evaluation {

// The thumbnails kept on disk between runs, in the user's cache folder,
// never in the competition folder (it is copied to the judges): one file
// per picture, keyed by the picture's absolute path, size, modification
// time and the thumbnail rule, holding its two JPEGs, not pixels. Bounded
// (tunables::kThumbnailCacheBytes, the oldest go first); a damaged or
// unreadable entry counts as missing. Safe on several threads at once.
class ThumbnailCache {
  public:
    // The cache in `folder`, at most `bound` bytes; none (nothing kept) when
    // it is nothing.
    explicit ThumbnailCache(std::optional<std::string> folder,
                            std::uint64_t bound = tunables::kThumbnailCacheBytes);
    // The cache in the user's cache folder ($XDG_CACHE_HOME/bildbewertung).
    static std::optional<std::string> userFolder();

    // The thumbnail kept for the picture at `path` (absolute) as it is now.
    std::optional<Thumbnail> load(const std::string& path, const FileStamp& stamp) const;
    // Keeps it; a failure to keep it only means decoding again next time.
    void store(const std::string& path, const FileStamp& stamp, const Thumbnail& thumbnail);
    // Removes the oldest entries while the cache is larger than its bound;
    // only when something was stored since the last trim.
    void trim();

  private:
    std::string entryPath(const std::string& key) const;

    std::optional<std::string> folder_;
    std::uint64_t bound_;
    std::atomic<bool> stored_{false};
};

} // namespace evaluation
