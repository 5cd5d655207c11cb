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
// The same in `place`, a folder the organiser named because beside cannot
// be written; beside when `place` is empty.
std::optional<std::string> organiserFileIn(const std::string& folder, const std::string& place,
                                           const std::string& suffix);
// Why the organiser's files of `folder` cannot go to `place` ("": beside):
// no beside (a root), no such folder, a place inside the competition
// folder, or no file can be made there. Empty when they can.
std::string placeProblem(const std::string& folder, const std::string& place);

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

// Qel.max, the picture list, every rating file, the entrant list and the
// organiser's decisions (kept in `place`, "": beside), matched and scored, all
// read (when they are the folder's own, pointsOutside) with the judging
// program's own readers (a pipe or device is never waited for, a huge file
// never pulled into memory).
FolderResult evaluateFolder(const std::string& folder, const std::string& place = {});

} // namespace evaluation
