#include "core/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace regularfile {

std::optional<Reader> Reader::open(const std::string& path)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    return Reader(fd, static_cast<std::uint64_t>(info.st_size));
}

Reader::Reader(Reader&& other) noexcept : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

Reader::~Reader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<std::size_t> Reader::read(void* buffer, std::size_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, bytes + done, count - done);
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

std::optional<std::string> readAll(const std::string& path, std::size_t maxBytes)
{
    auto reader = Reader::open(path);
    if (!reader || reader->size() > maxBytes)
        return std::nullopt;
    std::string data(static_cast<std::size_t>(reader->size()), '\0');
    const auto got = reader->read(data.data(), data.size());
    if (!got)
        return std::nullopt;
    data.resize(*got);
    // A file that grew since it was opened: the rest, within the bound.
    char buffer[1 << 16];
    for (;;) {
        const auto more = reader->read(buffer, sizeof buffer);
        if (!more || data.size() + *more > maxBytes)
            return std::nullopt;
        if (*more == 0)
            return data;
        data.append(buffer, *more);
    }
}

} // namespace regularfile
