#pragma once

#include "core/FileSystem.h"

#include <atomic>
#include <limits>

// The system's files, but the `failing`-th operation of any kind (counted
// from 1) fails as `failure` does: on a full disk, a read-only one, an I/O
// error. Counts from any thread.
class FailingFileSystem : public platform::FileSystem {
  public:
    static constexpr int kNever = std::numeric_limits<int>::max();
    explicit FailingFileSystem(int failing = kNever,
                               platform::Failure failure = platform::Failure::diskFull)
        : failing_(failing), failure_(failure)
    {
    }
    // How many operations ran.
    int count() const { return count_; }

    using Status = std::optional<platform::FileStatus>;
    Status status(const std::string& path, platform::Links links) const override
    {
        return fails() ? Status() : FileSystem::status(path, links);
    }
    bool forEachEntry(const std::string& folder,
                      const std::function<void(const platform::FolderEntry&)>& visit) const override
    {
        return !fails() && FileSystem::forEachEntry(folder, visit);
    }
    platform::File openRegularFile(const std::string& path, std::uint64_t& size) const override
    {
        return fails() ? platform::kNoFile : FileSystem::openRegularFile(path, size);
    }
    std::optional<std::size_t> read(platform::File file, void* buffer,
                                    std::size_t count) const override
    {
        return fails() ? std::nullopt : FileSystem::read(file, buffer, count);
    }
    platform::File createNew(const std::string& path) const override
    {
        return fails() ? platform::kNoFile : FileSystem::createNew(path);
    }
    platform::File createUnique(std::string& path) const override
    {
        return fails() ? platform::kNoFile : FileSystem::createUnique(path);
    }
    bool setPermissions(platform::File file, unsigned mode) const override
    {
        return !fails() && FileSystem::setPermissions(file, mode);
    }
    bool writeAll(platform::File file, std::string_view bytes) const override
    {
        return !fails() && FileSystem::writeAll(file, bytes);
    }
    bool copyBytes(platform::File from, platform::File to, std::uint64_t count) const override
    {
        return !fails() && FileSystem::copyBytes(from, to, count);
    }
    bool flush(platform::File file) const override { return !fails() && FileSystem::flush(file); }
    bool flushPath(const std::string& path) const override
    {
        return !fails() && FileSystem::flushPath(path);
    }
    // Closed all the same, as a failing close does.
    bool close(platform::File file) const override
    {
        const bool failed = fails();
        return FileSystem::close(file) && !failed;
    }
    bool makeUniqueFolder(std::string& path) const override
    {
        return !fails() && FileSystem::makeUniqueFolder(path);
    }
    bool replaceFile(const std::string& from, const std::string& to) const override
    {
        return !fails() && FileSystem::replaceFile(from, to);
    }
    // Another program holds the file open.
    bool replaceable(const std::string& path) const override
    {
        return !fails() && FileSystem::replaceable(path);
    }
    bool renameToNew(const std::string& from, const std::string& to) const override
    {
        return !fails() && FileSystem::renameToNew(from, to);
    }
    bool removeFile(const std::string& path) const override
    {
        return !fails() && FileSystem::removeFile(path);
    }
    bool removeFolder(const std::string& path) const override
    {
        return !fails() && FileSystem::removeFolder(path);
    }
    bool syncFolder(const std::string& folder) const override
    {
        return !fails() && FileSystem::syncFolder(folder);
    }
    platform::Failure lastFailure() const override
    {
        return failed_ ? failure_ : FileSystem::lastFailure();
    }

  private:
    bool fails() const
    {
        const bool now = ++count_ == failing_;
        if (now)
            failed_ = true;
        return now;
    }

    const int failing_;
    const platform::Failure failure_;
    mutable std::atomic<int> count_ = 0;
    mutable std::atomic<bool> failed_ = false;
};
