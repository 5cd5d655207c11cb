#pragma once

#include "evaluation/outputs/Thumbnails.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The bytes of one file in the thumbnail cache, apart from the files: what
// the cache writes and reads, and what the fuzz target feeds.
namespace evaluation::cacheentry {

// The entry holding `thumbnail` for the picture `key` names, ending in its checksum.
std::string encode(const std::string& key, const Thumbnail& thumbnail);

// The thumbnail an entry holds; none when it is damaged, made for another
// key or does not fit a thumbnail.
std::optional<Thumbnail> decode(const std::string& key, std::string_view bytes);

// The checksum an entry ends with, over all its bytes before it.
std::uint64_t checksum(std::string_view bytes);

} // namespace evaluation::cacheentry
