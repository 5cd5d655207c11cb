#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

// Line-based single-byte text files. Bytes are kept as they are: no
// conversion, no trimming.
namespace textfile {

constexpr std::size_t kAllLines = std::numeric_limits<std::size_t>::max();

// Splits at CR LF, a lone CR and a lone LF; a break at the very end adds no
// empty line; the first NUL ends the text. At most maxLines lines are kept.
std::vector<std::string> splitLines(std::string_view text, std::size_t maxLines = kAllLines);

// Every line followed by CR LF, the last one included.
std::string joinLines(const std::vector<std::string>& lines);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> readFile(const std::string& path);

std::optional<std::vector<std::string>> readLines(const std::string& path,
                                                  std::size_t maxLines = kAllLines);

// Writes into a temporary file beside the target and renames it over the
// target only when everything is written and flushed, so a failure never
// destroys the previous file. Returns false on any failure.
bool writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines);

} // namespace textfile
