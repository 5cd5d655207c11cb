#pragma once

#include "evaluation/ranking/Ranking.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading a competition folder with the judging program's own readers.
namespace evaluation {

std::string pathIn(const std::string& folder, const std::string& name);

bool isDirectory(const std::string& path);

// The folder's own name as bytes ("." is looked up); nothing for a root.
std::optional<std::string> folderOwnName(const std::string& folder);

// The organiser's file "<folder name> <suffix>" beside the folder, never in
// it (the judges see the folder); nothing for a root, which has no beside.
std::optional<std::string> organiserFile(const std::string& folder, const std::string& suffix);

// Whether `name` in `folder` is a link to something outside the folder:
// then it is not read (sheets come back through shares and zip archives,
// and a link may lead anywhere). A regular file, a link inside the folder
// and a missing file are read or reported as they are.
bool pointsOutside(const std::string& folder, const std::string& name);

// The rating files: regular files whose names end in ".qel" in any letter
// case, hidden files excluded, in byte order of their names.
std::vector<std::string> ratingFileNames(const std::string& folder);

struct FolderResult {
    Evaluation evaluation;
    std::string stop; // the message when the evaluation cannot go on
};

// Qel.max, the picture list, every rating file and the entrant list, matched and scored, all
// read (when they are the folder's own, pointsOutside) with the judging program's own readers (a
// pipe or device is never waited for, a huge file never pulled into memory).
FolderResult evaluateFolder(const std::string& folder);

} // namespace evaluation
