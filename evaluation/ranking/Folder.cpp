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

namespace evaluation {

std::string pathIn(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool isDirectory(const std::string& path)
{
    const auto status = platform::status(path);
    return status && status->folder;
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

std::optional<std::string> organiserFileIn(const std::string& folder, const std::string& place,
                                           const std::string& suffix)
{
    if (place.empty())
        return organiserFile(folder, suffix);
    if (const auto name = folderOwnName(folder))
        return pathIn(place, *name + " " + suffix);
    return std::nullopt;
}

std::string placeProblem(const std::string& folder, const std::string& place)
{
    const auto file = organiserFileIn(folder, place, texts::kCsvFile);
    std::size_t slash = file ? file->size() : 0;
    while (slash > 0 && !platform::isSeparator((*file)[slash - 1]))
        --slash;
    if (!file || !platform::isPossibleFileName(file->substr(slash)))
        return texts::noPlaceBeside(shownName(folder));
    const std::string where = file->substr(0, slash);
    if (!place.empty()) {
        if (!isDirectory(place))
            return texts::missingFolder(shownName(place));
        const auto inside = platform::resolvedPath(place), own = platform::resolvedPath(folder);
        if (inside && own && inside->starts_with(*own) &&
            (inside->size() == own->size() || platform::isSeparator((*inside)[own->size()])))
            return texts::placeInsideFolder(shownName(place));
    }
    // Tried, not guessed from permission bits: a share or a stick may say otherwise.
    std::string probe = where + ".bildbewertung-XXXXXX";
    const platform::File made = platform::createUnique(probe);
    if (made == platform::kNoFile)
        return place.empty() ? texts::noPlaceBeside(shownName(folder))
                             : texts::cannotWriteIn(shownName(place));
    platform::close(made);
    platform::removeFile(probe);
    return {};
}

std::vector<std::string> ratingFileNames(const std::string& folder)
{
    std::vector<std::string> names = folderlisting::regularFiles(folder, {ratingfile::kExtension});
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

// What the ranking is made of, to see later whether it changed: the
// pictures and maxima, then each rating file's lines (0: unreadable).
InputPrint picturesPrint(const Evaluation& evaluation, const Weighting& weighting)
{
    std::uint64_t hash = fingerprint({});
    for (const std::string& picture : evaluation.pictures)
        hash = fingerprint(picture + '\n', hash);
    for (const int maximum : weighting.maxima)
        hash = fingerprint(std::to_string(maximum) + ' ', hash);
    return {std::string(), hash};
}

InputPrint sheetPrint(const std::string& file, const std::optional<rating::Sheet>& lines)
{
    std::uint64_t hash = 0;
    if (lines) {
        hash = fingerprint({});
        for (const std::string& line : *lines)
            hash = fingerprint(line + '\n', hash);
    }
    return {file, hash};
}

// Each visible criterion by the name its row shows; a row of spaces by its
// place (" W2" without the space), so that no column goes without a name.
std::vector<VisibleCriterion> visibleCriteria(const Weighting& weighting)
{
    std::vector<VisibleCriterion> criteria;
    const CriterionSettings settings = settingsOf(weighting);
    for (int n = 0; n < kCriterionCount; ++n) {
        const auto at = std::size_t(n);
        if (!weighting.rows[at].visible)
            continue;
        const std::string& description = settings[at].description;
        const std::size_t first = description.find_first_not_of(' ');
        std::string caption =
            first == std::string::npos
                ? layoutCaption(n).substr(1)
                : description.substr(first, description.find_last_not_of(' ') - first + 1);
        criteria.push_back({n, std::move(caption), weighting.maxima[at]});
    }
    return criteria;
}

void addDecisions(const std::string& folder, const std::string& place, Evaluation& evaluation)
{
    const auto path = organiserFileIn(folder, place, kDecisionsName);
    if (!path)
        return;
    if (auto decisions = readDecisions(*path))
        evaluation.decisions = std::move(*decisions);
    else
        evaluation.problems.push_back({ProblemKind::Decisions, std::string(), 0, std::string(),
                                       texts::unreadableDecisions(shownName(*path))});
}

} // namespace

FolderResult evaluateFolder(const std::string& folder, const std::string& place)
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
    evaluation.criteria = visibleCriteria(weighting);

    evaluation.pictures = pictures::listPictures(folder);
    if (evaluation.pictures.empty()) {
        result.stop = messages::kNoPictures;
        return result;
    }
    evaluation.inputs.push_back(picturesPrint(evaluation, weighting));
    const std::vector<std::string> files = ratingFileNames(folder);
    if (files.empty()) {
        result.stop = texts::kNoJudgeFiles;
        return result;
    }
    for (const std::string& file : files) {
        const std::string judge = ratingfile::judgeNameFromPath(file);
        // A sheet that links out of the folder is not read: its print is that of no lines.
        const bool outside = pointsOutside(folder, file);
        std::optional<rating::Sheet> lines;
        if (!outside)
            lines = ratingfile::load(pathIn(folder, file));
        evaluation.inputs.push_back(sheetPrint(file, lines));
        // A judge without a name could not be told from the others.
        if (std::all_of(judge.begin(), judge.end(),
                        [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; })) {
            evaluation.problems.push_back({ProblemKind::JudgeFileUnreadable, std::string(), 0,
                                           std::string(),
                                           texts::namelessJudgeFile(shownName(file))});
            continue;
        }
        if (outside) {
            evaluation.problems.push_back({ProblemKind::JudgeFileUnreadable, shownName(judge), 0,
                                           std::string(), texts::pointsOutside(shownName(file))});
            continue;
        }
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
        addDecisions(folder, place, evaluation);
        leaveOutOwnPictures(evaluation);
    }
    return result;
}

} // namespace evaluation
