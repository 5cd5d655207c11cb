#pragma once

#include "evaluation/Evaluation.h"
#include "evaluation/Thumbnail.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace evaluation {

// A file's size and modification time (nanoseconds): saving it changes one
// of them. Size -1: there is no such file.
struct FileStamp {
    long long size = -1;
    long long modified = 0;

    bool operator==(const FileStamp&) const = default;
};
FileStamp stampOf(const std::string& path);

// The thumbnails of a folder's pictures, kept between evaluations: update()
// decodes only pictures that are new or changed (size or modification time),
// so a re-evaluation after a .qel changed decodes nothing. Plain C++; the
// window keeps one and calls update() off its GUI thread.
class ThumbnailStore {
  public:
    // done pictures of total; called from the decoding threads, one call at a time.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;

    // Brings the store to `pictures` (file names in `folder`): drops pictures
    // that are gone, decodes new or changed ones on all cores. A set `cancel`
    // stops before the next picture (those not decoded stay missing and are
    // decoded by the next update). Returns false when cancelled.
    bool update(const std::string& folder, const std::vector<std::string>& pictures,
                const Progress& progress = {}, const std::atomic<bool>* cancel = nullptr);

    // The thumbnail of a picture (upright, its longer side at most
    // tunables::kThumbnailSide), or nullptr
    // when it is not decoded yet or could not be read.
    const Thumbnail* find(const std::string& picture) const;
    // find() for each picture, in order: what the files are written from.
    // Valid until the next update().
    std::vector<const Thumbnail*> findAll(const std::vector<std::string>& pictures) const;

    // One "cannot be opened" problem per picture of the evaluation whose
    // thumbnail failed, in picture order.
    void addProblems(Evaluation& evaluation) const;

  private:
    struct Entry {
        long long size = -1;
        long long modified = 0; // nanoseconds
        Thumbnail thumbnail;
    };
    std::unordered_map<std::string, Entry> entries_;
};

} // namespace evaluation
