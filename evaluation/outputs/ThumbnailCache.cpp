#include "evaluation/outputs/ThumbnailCache.h"

#include "core/Platform.h"
#include "evaluation/Tunables.h"

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

// What makes an entry the right one: the rule that made it and the file as it is.
std::string keyOf(const std::string& path, const FileStamp& stamp)
{
    return std::to_string(tunables::kThumbnailRuleVersion) + ' ' +
           std::to_string(tunables::kThumbnailSide) + ' ' + std::to_string(tunables::kPageQuality) +
           ' ' + std::to_string(tunables::kPrintQuality) + ' ' + std::to_string(stamp.size) + ' ' +
           std::to_string(stamp.modified) + ' ' + path;
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

std::string encode(const std::string& key, const Thumbnail& thumbnail)
{
    std::string out(kMagic, sizeof kMagic);
    put(out, key);
    for (const std::int64_t value :
         {std::int64_t(thumbnail.width), std::int64_t(thumbnail.height),
          std::int64_t(thumbnail.channels), std::int64_t(thumbnail.scaleDenominator),
          std::int64_t(thumbnail.ok), std::int64_t(thumbnail.jpegError.has_value()),
          std::int64_t(thumbnail.jpegError.value_or(0))})
        put(out, value);
    put(out, thumbnail.pageJpeg);
    put(out, thumbnail.printJpeg);
    put(out, std::int64_t(fnv1a(out)));
    return out;
}

std::optional<Thumbnail> decode(const std::string& key, std::string_view bytes)
{
    if (bytes.size() < sizeof kMagic + 8 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    const std::string_view body = bytes.substr(0, bytes.size() - 8);
    Reader sum(bytes.substr(body.size()));
    if (std::uint64_t(sum.number()) != fnv1a(body))
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
    const bool hasError = in.number() != 0;
    const int error = int(in.number());
    if (hasError)
        thumbnail.jpegError = error;
    thumbnail.pageJpeg = in.text();
    thumbnail.printJpeg = in.text();
    const bool sound =
        in.atEnd() && (thumbnail.channels == 1 || thumbnail.channels == 3) &&
        (!thumbnail.ok || (!thumbnail.pageJpeg.empty() && !thumbnail.printJpeg.empty() &&
                           thumbnail.width > 0 && thumbnail.height > 0));
    return sound ? std::optional(std::move(thumbnail)) : std::nullopt;
}

} // namespace

ThumbnailCache::ThumbnailCache(std::optional<std::string> folder, std::uint64_t bound)
    : folder_(std::move(folder)), bound_(bound)
{
    if (!folder_)
        return;
    // Every folder on the way that is missing: the user's cache folder, the
    // program's (on Windows two levels) and its thumbnails' folder.
    for (auto at = folder_->find_first_of("/\\", 1); at != std::string::npos;
         at = folder_->find_first_of("/\\", at + 1))
        platform::makeFolder(folder_->substr(0, at));
    platform::makeFolder(*folder_);
    const auto status = platform::status(*folder_);
    if (!status || status->regular)
        folder_.reset();
}

std::optional<std::string> ThumbnailCache::userFolder()
{
    const auto program = platform::cacheFolder("bildbewertung");
    if (!program)
        return std::nullopt;
    return *program + (platform::isSeparator('\\') ? "\\" : "/") + "thumbnails";
}

std::string ThumbnailCache::entryPath(const std::string& key) const
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name(16, '0');
    std::uint64_t hash = fnv1a(key);
    for (int i = 15; i >= 0; --i, hash >>= 4)
        name[std::size_t(i)] = kHex[hash & 15];
    return *folder_ + (platform::isSeparator('\\') ? "\\" : "/") + name + kEntrySuffix;
}

std::optional<Thumbnail> ThumbnailCache::load(const std::string& path, const FileStamp& stamp) const
{
    if (!folder_ || stamp.size < 0)
        return std::nullopt;
    const std::string key = keyOf(path, stamp);
    std::uint64_t size = 0;
    const platform::File file = platform::openRegularFile(entryPath(key), size);
    if (file == platform::kNoFile)
        return std::nullopt;
    std::string bytes(size <= kMaxEntryBytes ? std::size_t(size) : 0, '\0');
    const auto got = platform::read(file, bytes.data(), bytes.size());
    platform::close(file);
    if (!got || *got != bytes.size())
        return std::nullopt;
    return decode(key, bytes);
}

void ThumbnailCache::store(const std::string& path, const FileStamp& stamp,
                           const Thumbnail& thumbnail)
{
    if (!folder_ || stamp.size < 0)
        return;
    const std::string key = keyOf(path, stamp);
    const std::string target = entryPath(key);
    // Written beside and renamed into place: a reader finds the old entry
    // or the whole new one. Not synced: it can always be made again.
    std::string temporary = target + ".XXXXXX";
    const platform::File file = platform::createUnique(temporary);
    if (file == platform::kNoFile)
        return;
    const bool written = platform::writeAll(file, encode(key, thumbnail));
    if (!platform::close(file) || !written || !platform::replaceFile(temporary, target)) {
        platform::removeFile(temporary);
        return;
    }
    stored_ = true;
}

void ThumbnailCache::trim()
{
    if (!folder_ || !stored_.exchange(false))
        return;
    struct Entry {
        std::string path;
        std::int64_t modified;
        std::uint64_t size;
    };
    std::vector<Entry> entries;
    std::uint64_t total = 0;
    const std::string separator = platform::isSeparator('\\') ? "\\" : "/";
    platform::forEachEntry(*folder_, [&](const platform::FolderEntry& entry) {
        const std::string_view name = entry.name();
        if (name.size() <= sizeof kEntrySuffix || name.starts_with('.'))
            return;
        const std::string path = *folder_ + separator + std::string(name);
        const auto status = platform::status(path, platform::Links::doNotFollow);
        if (!status || !status->regular)
            return;
        entries.push_back({path, status->modifiedNs, status->size});
        total += status->size;
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
        if (platform::removeFile(entry.path))
            total -= entry.size;
    }
}

} // namespace evaluation
