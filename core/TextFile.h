#pragma once

#include "core/FileSystem.h"
#include "core/Tunables.h"

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Line-based single-byte text files. Bytes are kept as they are: no
// conversion, no trimming.
namespace textfile {

constexpr std::size_t kAllLines = std::numeric_limits<std::size_t>::max();

// Splits at CR LF, a lone CR and a lone LF; a break at the very end adds no
// empty line; the first NUL ends the text. At most maxLines lines are kept.
std::vector<std::string> splitLines(std::string_view text, std::size_t maxLines = kAllLines);

// The text without the UTF-8 byte order mark an editor may put in front of it.
std::string_view withoutByteOrderMark(std::string_view text);

// Every line followed by CR LF, the last one included.
std::string joinLines(const std::vector<std::string>& lines);

// The whole file, or nothing when it is not a regular file, cannot be read
// or holds more than `maxBytes`.
std::optional<std::string> readFile(const std::string& path,
                                    std::size_t maxBytes = tunables::kMaxTextFileBytes);

std::optional<std::vector<std::string>>
readLines(const std::string& path, std::size_t maxBytes = tunables::kMaxTextFileBytes);

// The start of a file, read only as far as its first `lineCount` lines go (or
// to its first NUL, or its end); nothing when the file cannot be read or
// those lines take more than `maxBytes`.
std::optional<std::string> readLeadingText(const std::string& path, std::size_t lineCount,
                                           std::size_t maxBytes);

// Writes into a temporary file beside the target and renames it over the
// target only when everything is written and flushed; the folder is synced
// too, so the save survives a power cut (where the file system cannot sync
// a folder, the file in place is still saved). A failure never destroys the
// previous file. Temporary files a crash left behind are removed. Returns
// false on any failure.
bool writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                          const platform::FileSystem& fileSystem = platform::systemFileSystem());

// The same for exact bytes.
bool writeAtomically(const std::string& path, std::string_view bytes,
                     const platform::FileSystem& fileSystem = platform::systemFileSystem());

struct FileContents {
    std::string path;
    std::string_view bytes;
};

// Runs the renames, or does not (then nothing is renamed): e.g. under a lock
// that a cancel takes, so a cancel either comes before them or waits for them.
using RenameGate = std::function<void(const std::function<void()>& renames)>;

// Several files that belong together: each is written to a temporary file
// first, and they are renamed over their targets only when every one was
// written, so a full disk leaves all old files or (bar a failing rename) all
// new ones; the folders are synced once all are renamed. Returns the
// position of the first file that failed, files.size() when the gate did
// not run the renames, or nothing.
std::optional<std::size_t>
writeAllAtomically(const std::vector<FileContents>& files, const RenameGate& gate = {},
                   const platform::FileSystem& fileSystem = platform::systemFileSystem());

} // namespace textfile
