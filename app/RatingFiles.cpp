#include "app/Controller.h"

#include "Viewer/MessageBoxes.h"
#include "Viewer/TScreenForm.h"
#include "common/FileName.h"
#include "core/Messages.h"
#include "core/PlaceByName.h"
#include "core/RatingFile.h"
#include "core/TextEncoding.h"
#include "pictures/NameKey.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include <algorithm>
#include <filesystem>
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

// What the box about a loaded sheet says: the counts, then the names, so the
// judge sees which pictures are left without a score.
std::string placedBox(const rating::Placement& placement, const rating::Sheet& lines,
                      const std::vector<std::string>& pictures)
{
    std::vector<std::string> withoutPicture;
    std::vector<std::string> namingSeveral;
    for (const std::size_t i : placement.keptLines) {
        const std::string_view name = rating::namePart(lines[i]);
        if (name.empty())
            continue;
        const bool several = std::find(placement.alikeLines.begin(), placement.alikeLines.end(),
                                       i) != placement.alikeLines.end();
        (several ? namingSeveral : withoutPicture).push_back(displayText(name));
    }
    return messages::placedByName(placement.moved, placement.kept, placement.added) +
           messages::placedPictures(pictureNames(pictures, placement.addedPictures), withoutPicture,
                                    namingSeveral);
}

} // namespace

void Controller::bsaveClick()
{
    const QString judge = panel_.judgeName();
    if (judge == QString::fromUtf8(messages::kJudgePrompt)) {
        messagebox::warning(messages::kEnterJudgeName);
        return;
    }
    const std::string judgeBytes = QFile::encodeName(judge).toStdString();
    const std::optional<std::string> fileName = ratingfile::fileNameForJudge(judgeBytes);
    if (fileName && ratingfile::asksBeforeOverwriting(*fileName, sheetFile_) &&
        !messagebox::question(messages::overwriteQuestion(
            (judge + QString::fromLatin1(ratingfile::kExtension)).toStdString())))
        return;
    bool saved = false;
    try {
        saved = ratingfile::save(judgeBytes, QelList);
    } catch (const std::exception&) { // out of memory: the old file stays
    }
    if (!saved) {
        messagebox::warning(messages::kCannotSave);
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
            box = messages::placedByName(0, 0, added.size()) +
                  messages::placedPictures(pictureNames(Playlist, added), {}, {});
            rating::extendToPictures(*lines, Playlist);
        }
    } catch (const std::exception&) { // out of memory: the sheet stays
        lines.reset();
        placement.reset();
        box.clear();
    }
    if (lines) {
        if (placement) {
            savedSheet_ = std::move(*lines); // the file holds the lines as they were
            QelList = std::move(placement->sheet);
        } else {
            QelList = std::move(*lines);
            savedSheet_ = QelList;
        }
        sheetFile_ = ratingfile::fileIdentity(*chosen);
    } else {
        messagebox::warning(messages::kCannotLoad);
    }
    panel_.setJudgeName(common::displayFileName(judge));
    if (!box.empty())
        messagebox::information(box);
    rating::QelRefresh(QelList, show_.index(), board);
}

bool Controller::mayClose()
{
    return !hasUnsavedChanges() || messagebox::question(messages::kUnsavedQuestion);
}

std::optional<std::string> runQelopen(QWidget* parent, std::string& lastChoice)
{
    // Kept as bytes: a folder name that is not UTF-8 must survive the trip.
    const std::filesystem::path workingFolder = std::filesystem::current_path();
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("*.qel"));
    dialog.setDirectory(QDir::currentPath());
    if (!lastChoice.empty())
        dialog.selectFile(QFile::decodeName(lastChoice.c_str()));
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    std::error_code ignored;
    std::filesystem::current_path(workingFolder, ignored);
    if (!accepted)
        return std::nullopt;
    lastChoice = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
    return lastChoice;
}
