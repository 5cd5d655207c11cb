#include "evaluation/present/Steps.h"

#include "core/Messages.h"
#include "evaluation/present/PresentTexts.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"
#include "pictures/PictureList.h"

#include <algorithm>

namespace evaluation::present {

namespace {

std::string placeLine(const ReportRow& row, bool shared)
{
    return presenttexts::kPlace + std::to_string(row.place) +
           (shared ? presenttexts::kShared : "") + presenttexts::kBandSeparator + texts::kMean +
           " " + row.mean;
}

bool sharesPlace(const std::vector<ReportRow>& rows, const ReportRow& row)
{
    return std::count_if(rows.begin(), rows.end(),
                         [&](const ReportRow& other) { return other.place == row.place; }) > 1;
}

} // namespace

Show roundShow(std::size_t pictureCount)
{
    Show show;
    for (std::size_t p = 0; p < pictureCount; ++p) {
        show.pictures.push_back(p);
        show.steps.push_back({p, {std::to_string(p + 1)}});
    }
    show.bandLines = pictureCount ? 1 : 0;
    return show;
}

Show announcementShow(const Report& report, int places)
{
    Show show;
    // Rows come best first: the announcement walks them backwards.
    for (auto row = report.rows.rbegin(); row != report.rows.rend(); ++row) {
        if (row->unrated() || (places > 0 && row->place > places))
            continue;
        const std::size_t position = show.pictures.size();
        show.pictures.push_back(row->picture);
        show.steps.push_back({position, {}});
        // Names are shown, never obeyed: no control character reaches the screen.
        show.steps.push_back(
            {position,
             {placeLine(*row, sharesPlace(report.rows, *row)), controlsReplaced(row->title, "")}});
    }
    show.bandLines = show.steps.empty() ? 0 : 2;
    return show;
}

Presentation readPresentation(const std::string& folder, bool round, int places)
{
    Presentation presentation;
    if (round) {
        if (!isDirectory(folder)) {
            presentation.problem = texts::missingFolder(shownName(folder));
            return presentation;
        }
        presentation.pictures = pictures::listPictures(folder);
        presentation.show = roundShow(presentation.pictures.size());
        if (presentation.pictures.empty())
            presentation.problem = messages::kNoPictures;
        return presentation;
    }
    FolderResult result = evaluateFolder(folder);
    if (!result.stop.empty()) {
        presentation.problem = result.stop;
        return presentation;
    }
    presentation.show = announcementShow(buildReport(result.evaluation), places);
    presentation.pictures = std::move(result.evaluation.pictures);
    if (presentation.show.steps.empty())
        presentation.problem = presenttexts::kNothingPlaced;
    return presentation;
}

} // namespace evaluation::present
