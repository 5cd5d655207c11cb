#pragma once

#include "core/Platform.h"

// The file operations that saving and writing a new folder use, as one
// object passed to them: the program takes the system's, a test puts one in
// its place that fails any operation it chooses.
namespace platform {

class FileSystem {
  public:
    FileSystem() = default;
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;
    virtual ~FileSystem() = default;

    // Each does what the function of its name in core/Platform.h does.
    virtual std::optional<FileStatus> status(const std::string& path, Links links) const;
    virtual bool forEachEntry(const std::string& folder,
                              const std::function<void(const FolderEntry&)>& visit) const;
    virtual File openRegularFile(const std::string& path, std::uint64_t& size) const;
    virtual std::optional<std::size_t> read(File file, void* buffer, std::size_t count) const;
    virtual File createNew(const std::string& path) const;
    virtual File createUnique(std::string& path) const;
    virtual bool setPermissions(File file, unsigned mode) const;
    virtual bool writeAll(File file, std::string_view bytes) const;
    virtual bool copyBytes(File from, File to, std::uint64_t count) const;
    virtual bool flush(File file) const;
    virtual bool flushPath(const std::string& path) const;
    virtual bool close(File file) const;
    virtual bool makeUniqueFolder(std::string& path) const;
    virtual bool replaceFile(const std::string& from, const std::string& to) const;
    virtual bool replaceable(const std::string& path) const;
    virtual bool renameToNew(const std::string& from, const std::string& to) const;
    virtual bool removeFile(const std::string& path) const;
    virtual bool removeFolder(const std::string& path) const;
    // With the system's sync of a descriptor.
    virtual bool syncFolder(const std::string& folder) const;
    virtual Failure lastFailure() const;
};

// The system's own, made once.
const FileSystem& systemFileSystem();

} // namespace platform
