#include "app/Controller.h"

#include "Viewer/TScreenForm.h"
#include "common/FileName.h"
#include "core/Messages.h"
#include "core/PlaceByName.h"
#include "core/RatingFile.h"
#include "core/TextEncoding.h"
#include "pictures/NameKey.h"

#include <QFile>

#include <algorithm>
#include <numeric>

namespace {

std::vector<std::string> pictureNames(const std::vector<std::string>& pictures,
                                      const std::vector<std::size_t>& positions)
{
    std::vector<std::string> names;
    names.reserve(positions.size());
    for (const std::size_t p : positions)
        names.push_back(common::displayFileNameUtf8(pictures[p]));
    return names;
}

bool contains(const std::vector<std::size_t>& positions, std::size_t i)
{
    return std::find(positions.begin(), positions.end(), i) != positions.end();
}

// What the box about a loaded sheet says: the counts, then the names, so the
// judge sees which pictures are left without a score.
std::string placedBox(const rating::Placement& placement, const rating::Sheet& lines,
                      const std::vector<std::string>& pictures)
{
    std::vector<std::string> withoutPicture;
    std::vector<std::string> twice;
    std::vector<std::string> namingSeveral;
    for (const std::size_t i : placement.keptLines) {
        const std::string_view name = rating::namePart(lines[i]);
        if (name.empty())
            continue;
        (contains(placement.alikeLines, i)   ? namingSeveral
         : contains(placement.twiceLines, i) ? twice
                                             : withoutPicture)
            .push_back(displayText(name));
    }
    const std::size_t twiceCount = placement.twiceLines.size();
    return messages::placedByName(placement.moved, placement.kept - twiceCount, twiceCount,
                                  placement.added) +
           messages::placedPictures(pictureNames(pictures, placement.addedPictures), withoutPicture,
                                    twice, namingSeveral);
}

} // namespace

void Controller::bsaveClick()
{
    const QString judge = panel_.judgeName();
    if (judge == QString::fromUtf8(messages::kJudgePrompt)) {
        boxes_.warning(messages::kEnterJudgeName);
        return;
    }
    const std::string judgeBytes = common::displayFileName(loadedJudge_) == judge
                                       ? loadedJudge_
                                       : QFile::encodeName(judge).toStdString();
    const std::optional<std::string> fileName = ratingfile::fileNameForJudge(judgeBytes);
    if (fileName && ratingfile::asksBeforeOverwriting(*fileName, sheetFile_) &&
        !boxes_.question(messages::overwriteQuestion(
            (judge + QString::fromLatin1(ratingfile::kExtension)).toStdString())))
        return;
    bool saved = false;
    try {
        saved = ratingfile::save(judgeBytes, QelList);
    } catch (const std::exception&) { // out of memory: the old file stays
    }
    if (!saved) {
        boxes_.warning(messages::cannotSaveBecause(fileName ? std::string()
                                                            : ratingfile::nameRefusal(judgeBytes)));
        return;
    }
    savedSheet_ = QelList;
    sheetFile_ = ratingfile::fileIdentity(*fileName);
}

void Controller::bloadClick()
{
    const std::optional<std::string> chosen = Qelopen ? Qelopen() : std::nullopt;
    if (!chosen)
        return;
    const std::string judge = ratingfile::judgeNameFromPath(*chosen);
    std::optional<rating::Sheet> lines;
    std::optional<rating::Placement> placement;
    std::string box;
    try {
        lines = ratingfile::load(*chosen);
        if (lines)
            placement = rating::placeByName(*lines, Playlist, pictures::nameKey);
        if (placement)
            box = placedBox(*placement, *lines, Playlist);
        if (lines && !placement && lines->size() < Playlist.size()) {
            // Pictures beyond the file's lines get one; nothing on disk changed,
            // so the sheet still counts as saved, but the judge hears which.
            std::vector<std::size_t> added(Playlist.size() - lines->size());
            std::iota(added.begin(), added.end(), lines->size());
            box = messages::placedByName(0, 0, 0, added.size()) +
                  messages::placedPictures(pictureNames(Playlist, added), {}, {}, {});
            rating::extendToPictures(*lines, Playlist);
        }
    } catch (const std::exception&) { // out of memory: the sheet stays
        lines.reset();
        placement.reset();
        box.clear();
    }
    if (lines) {
        // Placed or completed, the sheet loses nothing when it is not saved:
        // loading the file again gives it back, so it counts as saved.
        QelList = placement ? std::move(placement->sheet) : std::move(*lines);
        savedSheet_ = QelList;
        sheetFile_ = ratingfile::fileIdentity(*chosen);
    } else {
        boxes_.warning(messages::kCannotLoad);
    }
    loadedJudge_ = judge;
    panel_.setJudgeName(common::displayFileName(judge));
    if (!box.empty())
        boxes_.information(box);
    rating::QelRefresh(QelList, show_.index(), board);
}

bool Controller::mayClose()
{
    return !hasUnsavedChanges() || boxes_.question(messages::kUnsavedQuestion);
}
