#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A new folder written all or nothing: everything goes into a hidden folder
// beside the target, which is renamed into place only when every file is
// written and flushed. Files beside the folder go in with it. Nothing is
// ever written into a folder that holds something, no file is replaced and
// no source is changed.
namespace newfolder {

struct CopiedFile {
    std::string source; // copied byte for byte
    std::string name;   // its name in the new folder
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

Result write(const Plan& plan, const Progress& progress = {});

} // namespace newfolder
