#pragma once

#include "evaluation/ranking/Evaluation.h"

#include <QImage>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace evaluation {

struct Thumbnail {
    int width = 0;
    int height = 0;
    int channels = 3;                 // 3: RGB, 1: grey
    std::vector<std::uint8_t> pixels; // rows of width * channels bytes
    int scaleDenominator = 0;         // the scale the decode used: 1/8, 1/4, ...
    bool ok = false;
    std::optional<pictures::DecodeError> decodeError; // why decoding failed, when it did
    // The pixels as baseline JPEGs for the page and for the PDF, encoded once
    // when the picture is read, so writing the files again encodes nothing.
    std::string pageJpeg;
    std::string printJpeg;
    bool damaged = false; // the decoder warned (the file ends early, corrupt data)
};

// The whole file into `bytes`, when it is a regular file the judging program
// would read (a pipe is refused, never waited for).
bool readPicture(const std::string& path, std::vector<std::uint8_t>& bytes);

// The picture upright (EXIF orientation), its longer side at most
// `longSide`: decoded with the judging program's scaled decode, so only the
// coefficients the small picture needs are transformed and a picture
// beyond the judging program's decode budget is refused the same way.
// Never throws for a bad file; `ok` is false then.
Thumbnail readThumbnail(const std::string& path, int longSide);

// The pixels shrunk so that the longer side is at most `side`, by averaging
// the source pixels each target pixel covers; a smaller picture is copied.
Thumbnail shrink(const std::uint8_t* pixels, std::size_t stride, int width, int height,
                 int channels, int side);
Thumbnail shrink(const Thumbnail& source, int side);

// The pixels as a baseline JPEG of `quality` (grey stays grey); empty
// when there are no pixels.
std::string encodeJpeg(const Thumbnail& thumbnail, int quality);

// Runs job(0) ... job(count - 1) on all cores; rethrows the first exception.
void parallelFor(std::size_t count, const std::function<void(std::size_t)>& job);

// A thumbnail's stored JPEG decoded, its longer side at most `side`: by the
// pictures' own decoder, as Qt's JPEG plugin is not part of every build;
// null when it cannot be decoded.
QImage decodedJpeg(const std::string& jpeg, int side);

// The thumbnail as a QImage: its pixels without a copy while it has them
// (valid while the thumbnail is), else its print JPEG decoded; null when
// there is none.
QImage thumbnailView(const Thumbnail* thumbnail);

// A file's size, modification time (nanoseconds), identity and change
// time: saving it changes one of them, and so does replacing it by another
// of the same size and time. Size -1: there is no such file.
struct FileStamp {
    long long size = -1;
    long long modified = 0;
    unsigned long long device = 0;
    unsigned long long file = 0;
    long long changed = 0;

    bool operator==(const FileStamp&) const = default;
};
FileStamp stampOf(const std::string& path);

// The thumbnails of a folder's pictures, kept between evaluations: update()
// decodes only pictures that are new or changed (FileStamp),
// so a re-evaluation after a .qel changed decodes nothing. Plain C++; the
// window keeps one and calls update() off its GUI thread.
class ThumbnailCache;

class ThumbnailStore {
  public:
    // Kept on disk in `cacheFolder` too (none: only while the store lives;
    // checked from its parent down); by default in the user's cache folder.
    ThumbnailStore();
    explicit ThumbnailStore(const std::optional<std::string>& cacheFolder);
    ~ThumbnailStore();
    ThumbnailStore(const ThumbnailStore&) = delete;
    ThumbnailStore& operator=(const ThumbnailStore&) = delete;

    // done pictures of total; called from the decoding threads, one call at a time.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;

    // What a reader steers and learns while the store decodes; all optional.
    struct Feed {
        Progress progress;
        const std::atomic<bool>* cancel = nullptr;
        // Asked before each picture, one call at a time: the pictures to take
        // first now (the rows on screen); the rest follow in the order given.
        std::function<std::vector<std::string>()> first;
        // Each thumbnail as soon as it is taken from the disk cache or made
        // (not those the store kept); from the decoding threads, one call at
        // a time, valid during the call.
        std::function<void(const std::string& picture, const Thumbnail&)> made;
    };

    // Brings the store to `pictures` (file names in `folder`): drops pictures
    // that are gone, takes new or changed ones from the disk cache or decodes
    // them on all cores (then only their JPEGs are kept). A set `cancel`
    // stops before the next picture (those not decoded stay missing and are
    // decoded by the next update). Returns false when cancelled.
    bool update(const std::string& folder, const std::vector<std::string>& pictures,
                const Progress& progress = {}, const std::atomic<bool>* cancel = nullptr);
    bool update(const std::string& folder, const std::vector<std::string>& pictures,
                const Feed& feed);

    // The thumbnail of a picture (upright, its longer side at most
    // tunables::kThumbnailSide), or nullptr
    // when it is not decoded yet or could not be read.
    const Thumbnail* find(const std::string& picture) const;
    // find() for each picture, in order: what the files are written from.
    // Valid until the next update().
    std::vector<const Thumbnail*> findAll(const std::vector<std::string>& pictures) const;

    // Why the disk cache is not used this run (one German line), if so.
    const std::optional<std::string>& cacheRefused() const;

    // One "cannot be opened" problem per picture of the evaluation whose
    // thumbnail failed, in picture order.
    void addProblems(Evaluation& evaluation) const;

  private:
    struct Entry {
        FileStamp stamp;
        Thumbnail thumbnail;
    };
    std::unordered_map<std::string, Entry> entries_;
    std::unique_ptr<ThumbnailCache> cache_;
};

} // namespace evaluation
