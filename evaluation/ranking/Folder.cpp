#include "evaluation/ranking/Folder.h"

#include "core/FolderListing.h"
#include "core/Messages.h"
#include "core/Platform.h"
#include "core/RatingFile.h"
#include "core/Weighting.h"
#include "evaluation/ranking/Authors.h"
#include "evaluation/ranking/Entrants.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"
#include "pictures/PictureList.h"

#include <algorithm>
#include <numeric>
#include <sys/stat.h>

namespace evaluation {

std::string pathIn(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool isDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::string> folderOwnName(const std::string& folder)
{
    std::string path = platform::resolvedPath(folder).value_or(folder);
    while (path.size() > 1 && platform::isSeparator(path.back()))
        path.pop_back();
    std::size_t start = path.size();
    while (start > 0 && !platform::isSeparator(path[start - 1]))
        --start;
    if (start == path.size() || (start == 0 && path == "."))
        return std::nullopt;
    return path.substr(start);
}

std::optional<std::string> organiserFile(const std::string& folder, const std::string& suffix)
{
    // Through "..": every path starts with the folder's, so the window names
    // each file by the rest.
    if (const auto name = folderOwnName(folder))
        return pathIn(folder, "../" + *name + " " + suffix);
    return std::nullopt;
}

bool pointsOutside(const std::string& folder, const std::string& name)
{
    const std::string path = pathIn(folder, name);
    const auto own = platform::status(path, platform::Links::doNotFollow);
    if (!own || own->regular)
        return false;
    const auto target = platform::resolvedPath(path);
    const auto home = platform::resolvedPath(folder.empty() ? "." : folder);
    if (!target || !home)
        return false; // nothing to read there: reported as unreadable
    const bool below = home->empty() || platform::isSeparator(home->back())
                           ? target->starts_with(*home)
                           : target->starts_with(*home) && target->size() > home->size() &&
                                 platform::isSeparator((*target)[home->size()]);
    return !below;
}

std::vector<std::string> ratingFileNames(const std::string& folder)
{
    std::vector<std::string> names = folderlisting::regularFiles(folder, {ratingfile::kExtension});
    std::sort(names.begin(), names.end());
    return names;
}

FolderResult evaluateFolder(const std::string& folder)
{
    FolderResult result;
    Evaluation& evaluation = result.evaluation;
    if (!isDirectory(folder)) {
        result.stop = texts::missingFolder(shownName(folder));
        return result;
    }
    if (pointsOutside(folder, kWeightingFileName)) {
        result.stop = texts::pointsOutside(kWeightingFileName);
        return result;
    }
    // Read as the judging program reads it: its first sixteen lines.
    const Weighting weighting = readWeighting(pathIn(folder, kWeightingFileName));
    if (const auto warning = weighting.warning()) {
        result.stop = *warning;
        return result;
    }
    evaluation.maxTotal = std::accumulate(weighting.maxima.begin(), weighting.maxima.end(), 0);

    evaluation.pictures = pictures::listPictures(folder);
    if (evaluation.pictures.empty()) {
        result.stop = messages::kNoPictures;
        return result;
    }
    const std::vector<std::string> files = ratingFileNames(folder);
    if (files.empty()) {
        result.stop = texts::kNoJudgeFiles;
        return result;
    }
    for (const std::string& file : files) {
        const std::string judge = ratingfile::judgeNameFromPath(file);
        // A judge without a name could not be told from the others.
        if (std::all_of(judge.begin(), judge.end(),
                        [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; })) {
            evaluation.problems.push_back({ProblemKind::JudgeFileUnreadable, std::string(), 0,
                                           std::string(),
                                           texts::namelessJudgeFile(shownName(file))});
            continue;
        }
        if (pointsOutside(folder, file)) {
            evaluation.problems.push_back({ProblemKind::JudgeFileUnreadable, shownName(judge), 0,
                                           std::string(), texts::pointsOutside(shownName(file))});
            continue;
        }
        const std::string path = pathIn(folder, file);
        const auto lines = ratingfile::load(path);
        if (!lines) {
            evaluation.problems.push_back(
                {ProblemKind::JudgeFileUnreadable, shownName(ratingfile::judgeNameFromPath(file)),
                 0, std::string(), texts::unreadableJudgeFile(shownName(file))});
            continue;
        }
        evaluation.judges.push_back(matchJudge(ratingfile::judgeNameFromPath(file), *lines,
                                               evaluation.pictures, weighting.maxima,
                                               evaluation.problems));
    }
    if (evaluation.judges.empty())
        result.stop = texts::kNoJudgeReadable;
    else {
        addEntrants(folder, evaluation);
        leaveOutOwnPictures(evaluation);
    }
    return result;
}

} // namespace evaluation
