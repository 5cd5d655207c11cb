#include "core/RegularFile.h"

#include "core/Platform.h"

#include <utility>

namespace regularfile {

std::optional<Reader> Reader::open(const std::string& path)
{
    std::uint64_t size = 0;
    const platform::File file = platform::openRegularFile(path, size);
    if (file == platform::kNoFile)
        return std::nullopt;
    return Reader(file, size);
}

Reader::Reader(Reader&& other) noexcept
    : file_(std::exchange(other.file_, platform::kNoFile)), size_(other.size_)
{
}

Reader::~Reader()
{
    if (file_ != platform::kNoFile)
        platform::close(file_);
}

std::optional<std::size_t> Reader::read(void* buffer, std::size_t count)
{
    return platform::read(file_, buffer, count);
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
