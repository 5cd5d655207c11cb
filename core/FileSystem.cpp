#include "core/FileSystem.h"

namespace platform {

std::optional<FileStatus> FileSystem::status(const std::string& path, Links links) const
{
    return platform::status(path, links);
}

bool FileSystem::forEachEntry(const std::string& folder,
                              const std::function<void(const FolderEntry&)>& visit) const
{
    return platform::forEachEntry(folder, visit);
}

File FileSystem::openRegularFile(const std::string& path, std::uint64_t& size) const
{
    return platform::openRegularFile(path, size);
}

std::optional<std::size_t> FileSystem::read(File file, void* buffer, std::size_t count) const
{
    return platform::read(file, buffer, count);
}

File FileSystem::createNew(const std::string& path) const
{
    return platform::createNew(path);
}

File FileSystem::createUnique(std::string& path) const
{
    return platform::createUnique(path);
}

bool FileSystem::setPermissions(File file, unsigned mode) const
{
    return platform::setPermissions(file, mode);
}

bool FileSystem::writeAll(File file, std::string_view bytes) const
{
    return platform::writeAll(file, bytes);
}

bool FileSystem::copyBytes(File from, File to, std::uint64_t count) const
{
    return platform::copyBytes(from, to, count);
}

bool FileSystem::flush(File file) const
{
    return platform::flush(file);
}

bool FileSystem::flushPath(const std::string& path) const
{
    return platform::flushPath(path);
}

bool FileSystem::close(File file) const
{
    return platform::close(file);
}

bool FileSystem::makeUniqueFolder(std::string& path) const
{
    return platform::makeUniqueFolder(path);
}

bool FileSystem::replaceable(const std::string& path) const
{
    return platform::replaceable(path);
}

bool FileSystem::replaceFile(const std::string& from, const std::string& to) const
{
    return platform::replaceFile(from, to);
}

bool FileSystem::renameToNew(const std::string& from, const std::string& to) const
{
    return platform::renameToNew(from, to);
}

bool FileSystem::removeFile(const std::string& path) const
{
    return platform::removeFile(path);
}

bool FileSystem::removeFolder(const std::string& path) const
{
    return platform::removeFolder(path);
}

bool FileSystem::syncFolder(const std::string& folder) const
{
    return platform::syncFolder(folder, platform::syncDescriptor);
}

Failure FileSystem::lastFailure() const
{
    return platform::lastFailure();
}

const FileSystem& systemFileSystem()
{
    static const FileSystem system;
    return system;
}

} // namespace platform
