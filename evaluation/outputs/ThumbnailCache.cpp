#include "evaluation/outputs/ThumbnailCache.h"

#include "core/Platform.h"
#include "evaluation/Tunables.h"
#include "evaluation/outputs/ThumbnailCacheEntry.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"
#include "pictures/Decoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace evaluation {

namespace {

constexpr char kMagic[4] = {'B', 'B', 'T', 'C'};
// No thumbnail of 240 pixels comes near this; a larger file is not ours.
constexpr std::uint64_t kMaxEntryBytes = std::uint64_t{4} << 20;
constexpr char kEntrySuffix[] = ".thumb";

std::uint64_t fnv1a(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// What makes an entry the right one: the rule that made it and the file as
// it is (replaced in place or its time set back, its change time differs).
std::string keyOf(const std::string& path, const FileStamp& stamp)
{
    std::string key;
    for (const long long number :
         {(long long)tunables::kThumbnailRuleVersion, (long long)tunables::kThumbnailSide,
          (long long)tunables::kPageQuality, (long long)tunables::kPrintQuality, stamp.size,
          stamp.modified, (long long)stamp.device, (long long)stamp.file, stamp.changed})
        key += std::to_string(number) + ' ';
    return key + path;
}

// An entry's name: the key's hash in 16 hexadecimal digits and kEntrySuffix.
std::string entryName(const std::string& key)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name(16, '0');
    std::uint64_t hash = fnv1a(key);
    for (int i = 15; i >= 0; --i, hash >>= 4)
        name[std::size_t(i)] = kHex[hash & 15];
    return name + kEntrySuffix;
}

// Whether `name` is of an entry's form or a temporary one left by a run
// that stopped: the trim removes nothing else.
bool isEntryName(std::string_view name)
{
    const auto all = [](std::string_view part, std::string_view letters) {
        return part.find_first_not_of(letters) == std::string_view::npos;
    };
    constexpr std::size_t kStem = 16 + sizeof kEntrySuffix - 1;
    if (name.size() != kStem && name.size() != kStem + 7)
        return false;
    return all(name.substr(0, 16), "0123456789abcdef") &&
           name.substr(16, sizeof kEntrySuffix - 1) == kEntrySuffix &&
           (name.size() == kStem ||
            (name[kStem] == '.' && all(name.substr(kStem + 1), "abcdefghijklmnopqrstuvwxyz"
                                                               "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                               "0123456789")));
}

// Whether a stored JPEG is what the entry says: `width` x `height`.
bool jpegOfSize(const std::string& jpeg, int width, int height)
{
    const auto header =
        pictures::readHeader(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size());
    return header && header->width == width && header->height == height;
}

void put(std::string& out, std::int64_t value)
{
    char bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = char(std::uint64_t(value) >> (8 * i));
    out.append(bytes, 8);
}

void put(std::string& out, std::string_view bytes)
{
    put(out, std::int64_t(bytes.size()));
    out.append(bytes);
}

// Reads what put() wrote; any read past the end makes it fail for good.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    std::int64_t number()
    {
        if (bytes_.size() - at_ < 8) {
            failed_ = true;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value |= std::uint64_t(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
        at_ += 8;
        return std::int64_t(value);
    }
    std::string text()
    {
        const std::int64_t length = number();
        if (failed_ || length < 0 || std::uint64_t(length) > bytes_.size() - at_) {
            failed_ = true;
            return {};
        }
        std::string value(bytes_.substr(at_, std::size_t(length)));
        at_ += std::size_t(length);
        return value;
    }
    bool atEnd() const { return !failed_ && at_ == bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

// An entry holds a decode error as its format's number and its own; this
// format number means none.
constexpr std::int64_t kNoError = -1;

std::optional<pictures::PictureFormat> formatNumbered(std::int64_t number)
{
    for (const pictures::PictureFormat format : pictures::kPictureFormats)
        if (number == std::int64_t(format))
            return format;
    return std::nullopt;
}

} // namespace

namespace cacheentry {

std::string encode(const std::string& key, const Thumbnail& thumbnail)
{
    std::string out(kMagic, sizeof kMagic);
    put(out, key);
    const std::optional<pictures::DecodeError>& error = thumbnail.decodeError;
    for (const std::int64_t value :
         {std::int64_t(thumbnail.width), std::int64_t(thumbnail.height),
          std::int64_t(thumbnail.channels), std::int64_t(thumbnail.scaleDenominator),
          std::int64_t(thumbnail.ok), error ? std::int64_t(error->format) : kNoError,
          std::int64_t(error ? error->number : 0)})
        put(out, value);
    put(out, thumbnail.pageJpeg);
    put(out, thumbnail.printJpeg);
    put(out, std::int64_t(checksum(out)));
    return out;
}

std::optional<Thumbnail> decode(const std::string& key, std::string_view bytes)
{
    if (bytes.size() < sizeof kMagic + 8 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    const std::string_view body = bytes.substr(0, bytes.size() - 8);
    Reader sum(bytes.substr(body.size()));
    if (std::uint64_t(sum.number()) != checksum(body))
        return std::nullopt;
    Reader in(body.substr(sizeof kMagic));
    if (in.text() != key)
        return std::nullopt;
    Thumbnail thumbnail;
    thumbnail.width = int(in.number());
    thumbnail.height = int(in.number());
    thumbnail.channels = int(in.number());
    thumbnail.scaleDenominator = int(in.number());
    thumbnail.ok = in.number() != 0;
    const std::int64_t errorFormat = in.number();
    const int errorNumber = int(in.number());
    const auto format = formatNumbered(errorFormat);
    if (format)
        thumbnail.decodeError = pictures::DecodeError{*format, errorNumber};
    thumbnail.pageJpeg = in.text();
    thumbnail.printJpeg = in.text();
    // Its size goes into the PDF as it stands: it must be a thumbnail's and its JPEGs'.
    const bool sound = in.atEnd() && (format || errorFormat == kNoError) &&
                       (thumbnail.channels == 1 || thumbnail.channels == 3) &&
                       (!thumbnail.ok ||
                        (thumbnail.width > 0 && thumbnail.height > 0 &&
                         std::max(thumbnail.width, thumbnail.height) <= tunables::kThumbnailSide &&
                         jpegOfSize(thumbnail.pageJpeg, thumbnail.width, thumbnail.height) &&
                         jpegOfSize(thumbnail.printJpeg, thumbnail.width, thumbnail.height)));
    return sound ? std::optional(std::move(thumbnail)) : std::nullopt;
}

std::uint64_t checksum(std::string_view bytes)
{
    return fnv1a(bytes);
}

} // namespace cacheentry

CachePlace CachePlace::of(const std::string& path)
{
    std::string folder = path;
    while (folder.size() > 1 && platform::isSeparator(folder.back()))
        folder.pop_back();
    std::size_t start = folder.size();
    while (start > 0 && !platform::isSeparator(folder[start - 1]))
        --start;
    if (start == 0)
        return {".", {folder}};
    return {folder.substr(0, start == 1 ? 1 : start - 1), {folder.substr(start)}};
}

ThumbnailCache::ThumbnailCache(const std::optional<CachePlace>& place, std::uint64_t bound)
    : folder_(platform::kNoFolder), bound_(bound)
{
    if (!place)
        return;
    folder_ = platform::openOwnFolder(place->base, place->below);
    if (folder_ == platform::kNoFolder) {
        std::string shown = place->base;
        for (const std::string& name : place->below)
            shown += (platform::isSeparator('\\') ? "\\" : "/") + name;
        refused_ = texts::cacheRefused(shownName(shown));
    }
}

ThumbnailCache::~ThumbnailCache()
{
    platform::closeFolder(folder_);
}

std::optional<CachePlace> ThumbnailCache::userPlace()
{
    const auto program = platform::cacheFolder("bildbewertung");
    if (!program)
        return std::nullopt;
    // From the user's cache folder down: on Windows "bildbewertung\\cache".
    CachePlace place = CachePlace::of(*program);
    const bool windows = platform::isSeparator('\\');
    if (windows) {
        CachePlace above = CachePlace::of(place.base);
        above.below.push_back(place.below.front());
        place = std::move(above);
    }
    place.below.push_back("thumbnails");
    return place;
}

std::optional<Thumbnail> ThumbnailCache::load(const std::string& path, const FileStamp& stamp) const
{
    if (folder_ == platform::kNoFolder || stamp.size < 0)
        return std::nullopt;
    const std::string key = keyOf(path, stamp);
    std::uint64_t size = 0;
    const platform::File file = platform::openRegularFileIn(folder_, entryName(key), size);
    if (file == platform::kNoFile)
        return std::nullopt;
    std::string bytes(size <= kMaxEntryBytes ? std::size_t(size) : 0, '\0');
    const auto got = platform::read(file, bytes.data(), bytes.size());
    platform::close(file);
    if (!got || *got != bytes.size())
        return std::nullopt;
    return cacheentry::decode(key, bytes);
}

void ThumbnailCache::store(const std::string& path, const FileStamp& stamp,
                           const Thumbnail& thumbnail)
{
    if (folder_ == platform::kNoFolder || stamp.size < 0)
        return;
    const std::string key = keyOf(path, stamp);
    const std::string target = entryName(key);
    // Written beside and renamed into place: a reader finds the old entry
    // or the whole new one. Not synced: it can always be made again.
    std::string temporary = target + ".XXXXXX";
    const platform::File file = platform::createUniqueIn(folder_, temporary);
    if (file == platform::kNoFile)
        return;
    const bool written = platform::writeAll(file, cacheentry::encode(key, thumbnail));
    if (!platform::close(file) || !written ||
        !platform::replaceFileIn(folder_, temporary, target)) {
        platform::removeFileIn(folder_, temporary);
        return;
    }
    stored_ = true;
}

void ThumbnailCache::trim()
{
    if (folder_ == platform::kNoFolder || !stored_.exchange(false))
        return;
    struct Entry {
        std::string name;
        std::int64_t modified;
        std::uint64_t size;
    };
    std::vector<Entry> entries;
    std::uint64_t total = 0;
    platform::forEachFileIn(
        folder_, [&](std::string_view name, const platform::FileStatus& status) {
            if (!isEntryName(name))
                return;
            entries.push_back({std::string(name), status.modifiedNs, status.size});
            total += status.size;
        });
    if (total <= bound_)
        return;
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.modified < b.modified; });
    // Down to nine tenths: the next runs do not trim again at once.
    const std::uint64_t goal = bound_ / 10 * 9;
    for (const Entry& entry : entries) {
        if (total <= goal)
            break;
        if (platform::removeFileIn(folder_, entry.name))
            total -= entry.size;
    }
}

} // namespace evaluation
