#include "core/TextFile.h"

#include "core/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool writeAll(int fd, std::string_view data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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
// A save takes milliseconds; a temporary file this old is a crash's leftover.
constexpr time_t kStaleSeconds = 60;

void removeStaleTemporaries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() != kTemporaryNameLength || name.rfind(kTemporaryPrefix, 0) != 0)
            continue;
        const std::string path = folder + std::string(name);
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            now - info.st_mtime > kStaleSeconds)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

FolderSync& folderSync()
{
    static FolderSync sync = ::fsync;
    return sync;
}

// After the rename the new file is in place; only a sync that should have
// worked and did not (an I/O error) fails the save.
bool syncFolder(const std::string& folder)
{
    FileDescriptor fd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == EACCES || errno == EPERM; // a folder we may write but not open
    if (folderSync()(fd.get()) == 0)
        return true;
    const int error = errno;
    return error == EINVAL || error == ENOTSUP || error == EROFS;
}

} // namespace

void setFolderSync(FolderSync sync)
{
    folderSync() = sync ? sync : ::fsync;
}

bool writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines)
{
    return writeAtomically(path, joinLines(lines));
}

namespace {

// The bytes in a flushed temporary file beside `path`, with the permissions
// the file there has (or the usual ones); its name, or nothing on failure.
std::optional<std::string> writeTemporary(const std::string& path, std::string_view bytes)
{
    if (path.empty() || path.back() == '/')
        return std::nullopt;
    const std::string folder = folderOf(path);
    removeStaleTemporaries(folder);
    std::string temporary = folder + kTemporaryPrefix + "XXXXXX";
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0)
        return std::nullopt;

    // Keep the permissions an existing file had; a new one gets the usual ones.
    struct stat previous {};
    mode_t mode = 0666;
    if (::stat(path.c_str(), &previous) == 0) {
        mode = previous.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }

    const bool written =
        ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    if (!fd.close() || !written) {
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    return temporary;
}

} // namespace

bool writeAtomically(const std::string& path, std::string_view bytes)
{
    return !writeAllAtomically({{path, bytes}});
}

std::optional<std::size_t> writeAllAtomically(const std::vector<FileContents>& files)
{
    std::vector<std::string> temporaries;
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto temporary = writeTemporary(files[i].path, files[i].bytes);
        if (!temporary) {
            for (const std::string& written : temporaries)
                ::unlink(written.c_str());
            return i;
        }
        temporaries.push_back(std::move(*temporary));
    }
    std::optional<std::size_t> failed;
    bool renaming = true;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!renaming || ::rename(temporaries[i].c_str(), files[i].path.c_str()) != 0) {
            ::unlink(temporaries[i].c_str());
            renaming = false;
            failed = failed.value_or(i);
        } else if (!syncFolder(folderOf(files[i].path))) {
            failed = failed.value_or(i);
        }
    }
    return failed;
}

} // namespace textfile
