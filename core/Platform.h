#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the operating system does differently: files, folders, pages of
// memory. Paths are UTF-8 bytes (on Linux any bytes). One implementation
// per system (platform/Posix.cpp, platform/Windows.cpp), chosen by the build.
namespace platform {

// An open file; kNoFile when none.
using File = std::intptr_t;
constexpr File kNoFile = -1;

// Opens a regular file (links to one count) for reading, binary, without
// blocking on a FIFO; kNoFile when it cannot be opened or is something else.
File openRegularFile(const std::string& path, std::uint64_t& size);

// Up to `count` bytes (fewer at the end), retried when interrupted; nothing
// on a read error.
std::optional<std::size_t> read(File file, void* buffer, std::size_t count);

// Writes all of `bytes`; false on any failure.
bool writeAll(File file, std::string_view bytes);

// Forces what was written to the disk.
bool flush(File file);

bool close(File file);

// Creates a new file for writing whose name is `path` with its last six
// characters ("XXXXXX") replaced; the name is written back into `path`.
File createUnique(std::string& path);

// Creates a new file for writing (permissions as for any new file); kNoFile
// when it exists or cannot be made.
File createNew(const std::string& path);

// Gives the file the permission bits `mode` (where the system has them).
bool setPermissions(File file, unsigned mode);

// The permission bits a new file gets.
unsigned newFileMode();

struct FileStatus {
    bool regular = false;
    bool folder = false;
    unsigned mode = 0; // permission bits
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // since the epoch
    std::int64_t modifiedSeconds() const { return modifiedNs / 1'000'000'000; }
};
enum class Links { follow, doNotFollow };
std::optional<FileStatus> status(const std::string& path, Links links = Links::follow);

// What tells two paths of one file apart from paths of two files.
struct FileIdentity {
    std::uint64_t device = 0, file = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> identity(const std::string& path);

// Which file is at a path and when it last changed in any way (contents,
// times, name: the inode change time; on Windows the file index and change
// time). A file replaced by another of the same size and time, or its time
// set back, gets another.
struct FileVersion {
    FileIdentity identity;
    std::int64_t changedNs = 0;
    bool operator==(const FileVersion&) const = default;
};
std::optional<FileVersion> version(const std::string& path);

// The absolute path with links resolved; nothing when it does not exist.
std::optional<std::string> resolvedPath(const std::string& path);

// The absolute path, "." and ".." taken out, links left as they are.
std::string absolutePath(const std::string& path);

// Whether `c` separates folders in a path ('/', on Windows '\\' too).
bool isSeparator(char c);
// The separator the system writes, for paths a user reads.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// Whether `name` can name a file in a folder: no separator, nothing the
// system forbids (on Windows also `: * ? " < > |`, control characters and
// the device names CON, NUL, COM1 and the like, which would not make a file).
bool isPossibleFileName(std::string_view name);

// Why `name` cannot be a file's name here, for the user: what isPossibleFileName
// refuses, and a name longer than the system's limit (255 bytes on Linux, 255
// UTF-16 units on Windows).
struct NameProblem {
    enum Kind { forbiddenCharacter, controlCharacter, deviceName, tooLong } kind;
    char character = 0; // the forbidden one
};
std::optional<NameProblem> fileNameProblem(std::string_view name);
// The system's name as the user knows it ("Linux", "Windows").
const char* systemName();

bool removeFile(const std::string& path);

// Renames `from` over `to`, replacing a file there in one step.
bool replaceFile(const std::string& from, const std::string& to);

// Whether a file at `path` could be replaced now (true when there is none):
// false, with lastFailure() inUse, while another program holds it open
// without letting it be replaced, as Windows programs do with what they show.
bool replaceable(const std::string& path);

// The folder where `program` keeps for this user what can be made again:
// "$XDG_CACHE_HOME/program" (without it "~/.cache/program"), on Windows
// "%LOCALAPPDATA%\program\cache". Not created here; nothing when the
// system names no such place.
std::optional<std::string> cacheFolder(std::string_view program);

// Whether the program's standard error shows on a terminal (not a file or pipe).
bool errorIsTerminal();

// Whether watching a folder for changes holds it open, so that a removed
// folder stays (empty, its removal pending) until the watch lets go: Windows.
bool watchHoldsFolder();

// Forces a file written earlier (and closed) to the disk.
bool flushPath(const std::string& path);

// Creates a new folder; false when it exists or cannot be made.
bool makeFolder(const std::string& path);

// Creates a new folder whose name is `path` with its last six characters
// ("XXXXXX") replaced; the name is written back into `path`.
bool makeUniqueFolder(std::string& path);

// Removes an empty folder.
bool removeFolder(const std::string& path);

// Renames a file or folder to a name that is free: never replaces anything.
bool renameToNew(const std::string& from, const std::string& to);

// Copies the next `count` bytes of `from` to the end of `to` (inside the
// system where it can); false on a read or write error or an early end.
bool copyBytes(File from, File to, std::uint64_t count);

// Why the last failed call failed, as far as a user can act on it.
// inUse: another program holds the file open without letting it be replaced
// (Windows only); missing: no such file or folder.
enum class Failure { other, diskFull, readOnly, inUse, missing };
Failure lastFailure();

// Syncs a folder's entries to the disk through `sync` (given the folder's
// descriptor). True when done, or when the folder or its file system cannot
// be synced (the renamed file is in place all the same); false on an I/O error.
using FolderSync = int (*)(int descriptor);
bool syncFolder(const std::string& folder, FolderSync sync);
// The system's sync of a descriptor (fsync; on Windows nothing is needed).
int syncDescriptor(int descriptor);

// One entry of a folder as the listing gives it.
class FolderEntry {
  public:
    FolderEntry(std::string_view name, const void* native, std::intptr_t folder)
        : name_(name), native_(native), folder_(folder)
    {
    }
    std::string_view name() const { return name_; }
    // A regular file or a link to one; asks the file system only where the
    // listing does not tell.
    bool isRegularFile() const;
    // Left out of every listing of pictures and sheets: a name starting with
    // "."; on Windows also the hidden and system attributes (an organiser
    // hides a picture to withdraw it).
    bool isHidden() const;

  private:
    std::string_view name_;
    const void* native_;
    std::intptr_t folder_;
};

// Calls `visit` for every entry of the folder ("." and ".." included), in
// the folder's own order; false when it cannot be read.
bool forEachEntry(const std::string& folder, const std::function<void(const FolderEntry&)>& visit);

// A folder held open, so that what is read, written and removed there by
// name stays there: no link is followed and no renamed folder on its path
// sends it elsewhere (the user's cache, which others may try to redirect).
using Folder = std::intptr_t;
constexpr Folder kNoFolder = -1;

// Opens `base`, then each of `below` inside the one before (made, for the
// user alone, when missing), never following a link. Each must be a folder
// of the user's own that no one else may write (on Windows, where the
// user's folders are guarded by their access lists: no link or junction);
// kNoFolder otherwise.
Folder openOwnFolder(const std::string& base, const std::vector<std::string>& below);
void closeFolder(Folder folder);

// What openRegularFile, createUnique, replaceFile and removeFile do, for
// names in `folder`; a link there is never followed.
File openRegularFileIn(Folder folder, const std::string& name, std::uint64_t& size);
File createUniqueIn(Folder folder, std::string& name);
bool replaceFileIn(Folder folder, const std::string& from, const std::string& to);
bool removeFileIn(Folder folder, const std::string& name);

// Calls `visit` for every regular file of `folder` (links are not) with its
// size and modification time; false when it cannot be read.
bool forEachFileIn(Folder folder,
                   const std::function<void(std::string_view name, const FileStatus&)>& visit);

// Pages of memory for large bitmaps: a mapping of its own, faulted in as
// written. `huge` asks for huge pages where the system has them (the start
// then lies on a huge-page boundary). Nothing when there is no memory.
std::uint8_t* mapPages(std::size_t length, bool huge);
// Gives back [start, start + length) of a mapping: its end, a piece at a time,
// or all that is left of it.
void unmapPages(std::uint8_t* start, std::size_t length);
// Faults in whole pages with one call, where the system can.
void populatePages(void* start, std::size_t length);
// The pages' contents are of no more use: their memory goes back at once.
void discardPages(void* start, std::size_t length);

} // namespace platform
