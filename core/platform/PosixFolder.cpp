// Folders held open: everything by name relative to the open folder, no link followed.
#include "core/Platform.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The user's own folder that no one else may write: only then can no one
// else place or swap what is inside.
bool isOwnFolder(int folder)
{
    struct stat info {};
    return ::fstat(folder, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

int openFolderAt(int at, const char* name)
{
    return ::openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

} // namespace

Folder openOwnFolder(const std::string& base, const std::vector<std::string>& below)
{
    int folder = openFolderAt(AT_FDCWD, base.c_str());
    // A new account has no ~/.cache yet: made for the user alone, as the
    // freedesktop rule for it says.
    if (folder < 0 && errno == ENOENT && ::mkdir(base.c_str(), 0700) == 0)
        folder = openFolderAt(AT_FDCWD, base.c_str());
    if (folder < 0 || !isOwnFolder(folder)) {
        if (folder >= 0)
            ::close(folder);
        return kNoFolder;
    }
    for (const std::string& name : below) {
        if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
            ::close(folder);
            return kNoFolder;
        }
        ::mkdirat(folder, name.c_str(), 0700); // fails harmlessly when it is there
        const int inner = openFolderAt(folder, name.c_str());
        ::close(folder);
        if (inner < 0 || !isOwnFolder(inner)) {
            if (inner >= 0)
                ::close(inner);
            return kNoFolder;
        }
        folder = inner;
    }
    return folder;
}

void closeFolder(Folder folder)
{
    if (folder != kNoFolder)
        ::close(static_cast<int>(folder));
}

File createUniqueIn(Folder folder, std::string& name)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    const std::size_t at = name.size() - 6;
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = 0; i < 6; ++i)
            name[at + i] = kLetters[random() % (sizeof kLetters - 1)];
        const int file = ::openat(static_cast<int>(folder), name.c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (file >= 0 || errno != EEXIST)
            return file >= 0 ? file : kNoFile;
    }
    return kNoFile;
}

bool replaceFileIn(Folder folder, const std::string& from, const std::string& to)
{
    const int at = static_cast<int>(folder);
    return ::renameat(at, from.c_str(), at, to.c_str()) == 0;
}

bool removeFileIn(Folder folder, const std::string& name)
{
    return ::unlinkat(static_cast<int>(folder), name.c_str(), 0) == 0;
}

bool forEachFileIn(Folder folder,
                   const std::function<void(std::string_view name, const FileStatus&)>& visit)
{
    // A descriptor of its own: closedir closes it, the folder stays open.
    const int listing = ::openat(static_cast<int>(folder), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(listing), ::closedir);
    if (!dir) {
        ::close(listing);
        return false;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        struct stat info {};
        if (::fstatat(listing, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        FileStatus status;
        status.regular = true;
        status.mode = info.st_mode & 07777;
        status.size = static_cast<std::uint64_t>(info.st_size);
        status.modifiedNs =
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000LL + info.st_mtim.tv_nsec;
        visit(entry->d_name, status);
    }
    return true;
}

} // namespace platform
