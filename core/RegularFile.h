#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Reading whole files safely: only regular files (links to them count), a
// FIFO or device is refused at once instead of blocking or never ending,
// and every read has an upper bound.
namespace regularfile {

class Reader {
  public:
    // Nothing when `path` cannot be opened or is not a regular file.
    static std::optional<Reader> open(const std::string& path);

    Reader(Reader&& other) noexcept;
    Reader& operator=(Reader&&) = delete;
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    ~Reader();

    // The size when the file was opened.
    std::uint64_t size() const { return size_; }

    // Reads up to `count` bytes; fewer only at the end of the file.
    // Nothing on a read error.
    std::optional<std::size_t> read(void* buffer, std::size_t count);

  private:
    Reader(std::intptr_t file, std::uint64_t size) : file_(file), size_(size) {}
    std::intptr_t file_; // a platform::File
    std::uint64_t size_;
};

// The whole file, or nothing when it cannot be read or holds more than
// `maxBytes`.
std::optional<std::string> readAll(const std::string& path, std::size_t maxBytes);

} // namespace regularfile
