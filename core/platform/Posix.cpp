#include "core/Platform.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

int fd(File file)
{
    return static_cast<int>(file);
}

} // namespace

namespace {

File openRegularFileAt(int folder, const char* name, int flags, std::uint64_t& size)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int file = ::openat(folder, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | flags);
    if (file < 0)
        return kNoFile;
    struct stat info {};
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(file);
        return kNoFile;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return file;
}

} // namespace

File openRegularFile(const std::string& path, std::uint64_t& size)
{
    return openRegularFileAt(AT_FDCWD, path.c_str(), 0, size);
}

File openRegularFileIn(Folder folder, const std::string& name, std::uint64_t& size)
{
    return openRegularFileAt(static_cast<int>(folder), name.c_str(), O_NOFOLLOW, size);
}

std::optional<std::size_t> read(File file, void* buffer, std::size_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd(file), bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool writeAll(File file, std::string_view data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd(file), data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool flush(File file)
{
    return ::fsync(fd(file)) == 0;
}

bool close(File file)
{
    return ::close(fd(file)) == 0;
}

File createUnique(std::string& path)
{
    return ::mkstemp(path.data());
}

File createNew(const std::string& path)
{
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return file < 0 ? kNoFile : file;
}

bool setPermissions(File file, unsigned mode)
{
    return ::fchmod(fd(file), static_cast<mode_t>(mode)) == 0;
}

unsigned newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::optional<FileStatus> status(const std::string& path, Links links)
{
    struct stat info {};
    const int result =
        links == Links::follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (result != 0)
        return std::nullopt;
    FileStatus status;
    status.regular = S_ISREG(info.st_mode);
    status.folder = S_ISDIR(info.st_mode);
    status.mode = info.st_mode & 07777;
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.modifiedNs =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000LL + info.st_mtim.tv_nsec;
    return status;
}

std::optional<FileIdentity> identity(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

std::optional<FileVersion> version(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileVersion{
        {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)},
        static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000LL + info.st_ctim.tv_nsec};
}

std::string absolutePath(const std::string& path)
{
    return std::filesystem::absolute(path).lexically_normal().string();
}

std::optional<std::string> resolvedPath(const std::string& path)
{
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved))
        return std::nullopt;
    return std::string(resolved);
}

bool isSeparator(char c)
{
    return c == '/';
}

std::optional<NameProblem> fileNameProblem(std::string_view name)
{
    if (const auto at = name.find_first_of(std::string_view("/\0", 2)); at != name.npos)
        return NameProblem{name[at] == '/' ? NameProblem::forbiddenCharacter
                                           : NameProblem::controlCharacter,
                           name[at]};
    if (name.size() > 255)
        return NameProblem{NameProblem::tooLong};
    return std::nullopt;
}

bool isPossibleFileName(std::string_view name)
{
    const auto problem = fileNameProblem(name);
    return !problem || problem->kind == NameProblem::tooLong;
}

const char* systemName()
{
    return "Linux";
}

bool removeFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool replaceable(const std::string&)
{
    return true; // a rename replaces a file whoever holds it open
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool watchHoldsFolder()
{
    return false;
}

bool errorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

std::optional<std::string> cacheFolder(std::string_view program)
{
    // A relative XDG_CACHE_HOME is invalid and is ignored, as the basedir rule says.
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && cache[0] == '/')
        return std::string(cache) + "/" + std::string(program);
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.cache/" + std::string(program);
    return std::nullopt;
}

bool flushPath(const std::string& path)
{
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const bool flushed = ::fsync(file) == 0;
    const int error = errno;
    ::close(file);
    errno = error;
    return flushed;
}

bool makeFolder(const std::string& path)
{
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool makeUniqueFolder(std::string& path)
{
    // mkdir, not mkdtemp: the folder becomes the competition folder, so it
    // gets the mode of any new folder (mkdtemp's 0700 would hide it from the
    // PC's other users and from a share).
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    const std::size_t at = path.size() - 6;
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = 0; i < 6; ++i)
            path[at + i] = kLetters[random() % (sizeof kLetters - 1)];
        if (::mkdir(path.c_str(), 0777) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool removeFolder(const std::string& path)
{
    return ::rmdir(path.c_str()) == 0;
}

bool renameToNew(const std::string& from, const std::string& to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    // A file system without the flag: look first (rename would take an empty folder's place).
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool copyBytes(File from, File to, std::uint64_t count)
{
#ifdef __linux__
    while (count > 0) {
        const ssize_t n = ::copy_file_range(fd(from), nullptr, fd(to), nullptr,
                                            static_cast<std::size_t>(count), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP))
            break; // the system cannot: copy through a buffer
        if (n <= 0)
            return false;
        count -= static_cast<std::uint64_t>(n);
    }
#endif
    std::vector<char> buffer(std::size_t{1} << 20);
    while (count > 0) {
        const auto n =
            read(from, buffer.data(),
                 static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer.size())));
        if (!n || *n == 0 || !writeAll(to, std::string_view(buffer.data(), *n)))
            return false;
        count -= *n;
    }
    return true;
}

Failure lastFailure()
{
    switch (errno) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return Failure::diskFull;
    case EROFS:
    case EACCES:
    case EPERM:
        return Failure::readOnly;
    case ENOENT:
    case ENOTDIR:
        return Failure::missing;
    default:
        return Failure::other;
    }
}

bool syncFolder(const std::string& folder, FolderSync sync)
{
    const int folderFd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return errno == EACCES || errno == EPERM; // a folder we may write but not open
    const bool synced = sync(folderFd) == 0;
    const int error = errno;
    ::close(folderFd);
    return synced || error == EINVAL || error == ENOTSUP || error == EROFS;
}

int syncDescriptor(int descriptor)
{
    return ::fsync(descriptor);
}

// Only links and file systems that do not report the type cost a stat.
bool FolderEntry::isRegularFile() const
{
    const auto& entry = *static_cast<const dirent*>(native_);
    if (entry.d_type == DT_REG)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info {};
    return ::fstatat(static_cast<int>(folder_), entry.d_name, &info, 0) == 0 &&
           S_ISREG(info.st_mode);
}

bool FolderEntry::isHidden() const
{
    return name_.starts_with('.');
}

bool forEachEntry(const std::string& folder, const std::function<void(const FolderEntry&)>& visit)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return false;
    const int folderFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get()))
        visit(FolderEntry(entry->d_name, entry, folderFd));
    return true;
}

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

constexpr std::size_t roundUp(std::size_t n, std::size_t to)
{
    return (n + to - 1) / to * to;
}

} // namespace

std::uint8_t* mapPages(std::size_t length, bool huge)
{
    if (!huge) {
        void* base =
            mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (base == MAP_FAILED)
            return nullptr;
#ifdef MADV_NOHUGEPAGE
        madvise(base, length, MADV_NOHUGEPAGE);
#endif
        return static_cast<std::uint8_t*>(base);
    }
    // Start on a huge-page boundary; only whole huge pages are advised, so
    // that the tail wastes at most one normal page.
    const std::size_t mapped = length + kHugePage;
    void* base = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return nullptr;
    auto* first = static_cast<std::uint8_t*>(base);
    auto* start = reinterpret_cast<std::uint8_t*>(
        roundUp(reinterpret_cast<std::uintptr_t>(first), kHugePage));
    if (start > first)
        munmap(first, static_cast<std::size_t>(start - first));
    if (first + mapped > start + length)
        munmap(start + length, static_cast<std::size_t>(first + mapped - (start + length)));
#ifdef MADV_HUGEPAGE
    if (length >= kHugePage)
        madvise(start, length / kHugePage * kHugePage, MADV_HUGEPAGE);
#endif
    return start;
}

void unmapPages(std::uint8_t* start, std::size_t length)
{
    munmap(start, length);
}

void populatePages(void* start, std::size_t length)
{
    // Older kernels refuse it, other systems lack it; then the pages fault
    // in as they are written.
#ifdef MADV_POPULATE_WRITE
    madvise(start, length, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)length;
#endif
}

void discardPages(void* start, std::size_t length)
{
    madvise(start, length, MADV_DONTNEED);
}

} // namespace platform
