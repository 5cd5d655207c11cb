#include "core/TextFile.h"

#include "core/RegularFile.h"

#include <algorithm>
#include <ctime>

namespace textfile {

std::vector<std::string> splitLines(std::string_view text, std::size_t maxLines)
{
    if (const auto nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);

    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size() && lines.size() < maxLines) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string_view withoutByteOrderMark(std::string_view text)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

namespace {

class OpenFile {
  public:
    OpenFile(const platform::FileSystem& fileSystem, platform::File file)
        : fileSystem_(fileSystem), file_(file)
    {
    }
    ~OpenFile()
    {
        if (file_ != platform::kNoFile)
            fileSystem_.close(file_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    platform::File get() const { return file_; }
    bool close()
    {
        const platform::File file = file_;
        file_ = platform::kNoFile;
        return fileSystem_.close(file);
    }

  private:
    const platform::FileSystem& fileSystem_;
    platform::File file_;
};

std::string folderOf(const std::string& path)
{
    std::size_t end = path.size();
    while (end > 0 && !platform::isSeparator(path[end - 1]))
        --end;
    return path.substr(0, end);
}

} // namespace

std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes)
{
    return regularfile::readAll(path, maxBytes);
}

std::optional<std::vector<std::string>> readLines(const std::string& path, std::size_t maxBytes)
{
    auto data = readFile(path, maxBytes);
    if (!data)
        return std::nullopt;
    return splitLines(*data);
}

std::optional<std::string> readLeadingText(const std::string& path, std::size_t lineCount,
                                           std::size_t maxBytes)
{
    auto reader = regularfile::Reader::open(path);
    if (!reader)
        return std::nullopt;
    std::string text;
    std::size_t lines = 0;
    bool afterCr = false;
    char buffer[1 << 14];
    while (lines < lineCount) {
        const auto got = reader->read(buffer, sizeof buffer);
        if (!got)
            return std::nullopt;
        if (*got == 0)
            break;
        const std::string_view chunk(buffer, *got);
        std::size_t end = 0; // up to the first NUL or the end of the last line wanted
        for (; end < chunk.size() && chunk[end] != '\0' && lines < lineCount; ++end) {
            if (chunk[end] == '\r' || (chunk[end] == '\n' && !afterCr))
                ++lines;
            afterCr = chunk[end] == '\r';
        }
        if (text.size() + end > maxBytes)
            return std::nullopt;
        text.append(chunk.substr(0, end));
        if (end < chunk.size() && chunk[end] == '\0')
            break;
    }
    return text;
}

namespace {

// Temporary files are ".bildbewertung-" and six characters from mkstemp.
constexpr char kTemporaryPrefix[] = ".bildbewertung-";
constexpr std::size_t kTemporaryNameLength = sizeof kTemporaryPrefix - 1 + 6;
constexpr time_t kStaleSeconds = tunables::kStaleTemporaryAge.count();

void removeStaleTemporaries(const std::string& folder, const platform::FileSystem& fileSystem)
{
    const time_t now = ::time(nullptr);
    fileSystem.forEachEntry(folder.empty() ? "." : folder, [&](const platform::FolderEntry& entry) {
        const std::string_view name = entry.name();
        if (name.size() != kTemporaryNameLength || name.rfind(kTemporaryPrefix, 0) != 0)
            return;
        const std::string path = folder + std::string(name);
        const auto info = fileSystem.status(path, platform::Links::doNotFollow);
        if (info && info->regular && now - info->modifiedSeconds() > kStaleSeconds)
            fileSystem.removeFile(path);
    });
}

} // namespace

bool writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                          const platform::FileSystem& fileSystem)
{
    return writeAtomically(path, joinLines(lines), fileSystem);
}

namespace {

// The bytes in a flushed temporary file beside `path`, with the permissions
// the file there has (or the usual ones); its name, or nothing on failure.
std::optional<std::string> writeTemporary(const std::string& path, std::string_view bytes,
                                          const platform::FileSystem& fileSystem)
{
    if (path.empty() || platform::isSeparator(path.back()))
        return std::nullopt;
    const std::string folder = folderOf(path);
    removeStaleTemporaries(folder, fileSystem);
    std::string temporary = folder + kTemporaryPrefix + "XXXXXX";
    OpenFile file(fileSystem, fileSystem.createUnique(temporary));
    if (file.get() == platform::kNoFile)
        return std::nullopt;

    // Keep the permissions an existing file had; a new one gets the usual ones.
    const auto previous = fileSystem.status(path, platform::Links::follow);
    const unsigned mode = previous ? previous->mode : platform::newFileMode();

    const bool written = fileSystem.setPermissions(file.get(), mode) &&
                         fileSystem.writeAll(file.get(), bytes) && fileSystem.flush(file.get());
    if (!file.close() || !written) {
        fileSystem.removeFile(temporary);
        return std::nullopt;
    }
    return temporary;
}

} // namespace

bool writeAtomically(const std::string& path, std::string_view bytes,
                     const platform::FileSystem& fileSystem)
{
    return !writeAllAtomically({{path, bytes}}, {}, fileSystem);
}

std::optional<std::size_t> writeAllAtomically(const std::vector<FileContents>& files,
                                              const RenameGate& gate,
                                              const platform::FileSystem& fileSystem)
{
    std::vector<std::string> temporaries;
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto temporary = writeTemporary(files[i].path, files[i].bytes, fileSystem);
        if (!temporary) {
            for (const std::string& written : temporaries)
                fileSystem.removeFile(written);
            return i;
        }
        temporaries.push_back(std::move(*temporary));
    }
    // All renamed first, then each folder synced once: a reader never finds
    // new files beside old ones for longer than the renames take.
    std::optional<std::size_t> failed;
    bool renamed = false;
    const auto renameAll = [&] {
        renamed = true;
        // One held open elsewhere would stop the renames half way: none then.
        for (std::size_t i = 0; i < files.size() && !failed; ++i)
            if (!fileSystem.replaceable(files[i].path))
                failed = i;
        for (std::size_t i = 0; i < files.size(); ++i)
            if (failed || !fileSystem.replaceFile(temporaries[i], files[i].path)) {
                fileSystem.removeFile(temporaries[i]);
                failed = failed.value_or(i);
            }
    };
    if (gate)
        gate(renameAll);
    else
        renameAll();
    if (!renamed) {
        for (const std::string& temporary : temporaries)
            fileSystem.removeFile(temporary);
        return files.size();
    }
    std::vector<std::string> synced;
    for (std::size_t i = 0; i < std::min(files.size(), failed.value_or(files.size())); ++i) {
        const std::string folder = folderOf(files[i].path);
        if (std::find(synced.begin(), synced.end(), folder) != synced.end())
            continue;
        synced.push_back(folder);
        // After the rename the new file is in place; only a sync that should
        // have worked and did not (an I/O error) fails the save.
        if (!fileSystem.syncFolder(folder))
            failed = failed.value_or(i);
    }
    return failed;
}

} // namespace textfile
