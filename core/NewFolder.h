#pragma once

#include "core/FileSystem.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A new folder written all or nothing: everything goes into a hidden folder
// beside the target, which is renamed into place only when every file is
// written and flushed. Files beside the folder go into place just before
// it, so a folder is never there without them. Nothing is ever written into
// a folder that holds something, no file is replaced and no source is
// changed. The hidden copies an interrupted run left are removed by the next.
namespace newfolder {

// A source's bytes as they are to be written; nothing when it cannot be.
using Rewrite = std::function<std::optional<std::string>(std::string_view source)>;

struct CopiedFile {
    std::string source;   // copied byte for byte, or through `rewrite`
    std::string name;     // its name in the new folder
    Rewrite rewrite = {}; // the whole file at once
};

struct WrittenFile {
    std::string name; // in the new folder; for a file beside it, its path
    std::string bytes;
};

struct Plan {
    std::string folder; // must not exist, or be empty
    std::vector<CopiedFile> copies;
    std::vector<WrittenFile> files;
    std::vector<WrittenFile> beside; // must not exist
};

enum class Outcome {
    Written,
    FolderNotEmpty, // `path`: the target
    FileExists,     // `path`: a file beside that is there already
    SourceUnreadable,
    SourceChanged, // it changed size or time while it was copied
    SourceRefused, // the rewrite refused it
    DiskFull,
    ReadOnly, // or not allowed
    WriteFailed,
    Cancelled,
};

struct Result {
    Outcome outcome = Outcome::Written;
    std::string path; // the file the failure concerns
};

// Bytes copied so far of all; returns false to cancel. Called between
// pieces of a few megabytes.
using Progress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

Result write(const Plan& plan, const Progress& progress = {},
             const platform::FileSystem& fileSystem = platform::systemFileSystem());

} // namespace newfolder
