#pragma once

#include "evaluation/Ranking.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reading a competition folder with the judging program's own readers.
namespace evaluation {

// Files larger than these are not read: no real weighting or rating file
// comes near them, and a stray huge file must not be pulled into memory.
inline constexpr std::size_t kMaxWeightingBytes = std::size_t(1) << 20;
inline constexpr std::size_t kMaxRatingFileBytes = std::size_t(64) << 20;

std::string pathIn(const std::string& folder, const std::string& name);

bool isDirectory(const std::string& path);

// A regular file (links followed) of at most maxBytes; a pipe or device is
// never opened, so it cannot hang the evaluation.
bool isSmallRegularFile(const std::string& path, std::size_t maxBytes);

// A rating file's name ends in ".qel", in any letter case.
bool isRatingFileName(std::string_view name);

// The rating files: regular files whose names end in ".qel" in any letter
// case, hidden files excluded, in byte order of their names.
std::vector<std::string> ratingFileNames(const std::string& folder);

struct FolderResult {
    Evaluation evaluation;
    std::string stop; // the message when the evaluation cannot go on
};

// Qel.max, the picture list and every rating file, matched and scored.
FolderResult evaluateFolder(const std::string& folder);

} // namespace evaluation
