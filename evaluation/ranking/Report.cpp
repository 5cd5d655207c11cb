#include "evaluation/ranking/Report.h"

#include "core/FolderListing.h"

#include "evaluation/Tunables.h"

#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Ranking.h"
#include "evaluation/ranking/SeasonTexts.h"
#include "evaluation/ranking/Texts.h"

#include <algorithm>
#include <map>

namespace evaluation {

namespace {

ReportRow rowFor(const Evaluation& evaluation, const RankedPicture& ranked)
{
    ReportRow row;
    row.picture = ranked.picture;
    row.place = ranked.rated > 0 ? ranked.rank : 0;
    row.rank = row.place ? rankText(row.place) : std::string();
    row.fileName = shownName(evaluation.pictures[ranked.picture]);
    if (!evaluation.entrants.empty()) {
        const Entrant& entrant = evaluation.entrants[ranked.picture];
        row.entrantTitle = entrant.title;
        row.author = entrant.author;
        row.title = pictureTitle(row.fileName, entrant);
    } else {
        row.title = pictureTitle(row.fileName);
    }
    for (const Judge& judge : evaluation.judges) {
        const auto& score = judge.scores[ranked.picture];
        row.judgeCells.push_back(counts(score) ? std::to_string(score->total()) : std::string());
    }
    row.mean = meanText(ranked);
    row.sum = ranked.excluded ? std::string() : std::to_string(ranked.sum);
    row.spread = ranked.spread ? std::to_string(*ranked.spread) : std::string();
    if (ranked.rated > 0) {
        row.wirkung = decimalComma(ranked.wirkung, ranked.rated);
        row.technik = decimalComma(ranked.technik, ranked.rated);
        row.gestaltung = decimalComma(ranked.gestaltung, ranked.rated);
    }
    for (const VisibleCriterion& criterion : evaluation.criteria)
        row.criterionMeans.push_back(
            ranked.rated > 0
                ? decimalComma(ranked.points[std::size_t(criterion.criterion)], ranked.rated)
                : std::string());
    row.hint = hint(evaluation, ranked);
    row.excluded = ranked.excluded;
    if (row.unrated() && !row.excluded && !row.hint.starts_with(texts::kNotRated))
        row.hint = texts::kNotRated + (row.hint.empty() ? "" : "; " + row.hint);
    row.disagreement = ranked.disagreement;
    if (ranked.rated > 0)
        row.meanPoints = Points{ranked.sum, ranked.rated} + Points{};
    return row;
}

// Judges short of pictures, pictures short of judges (by title, those
// nobody rated first, each in file order), then every line or file that was
// left out.
void addMissing(Report& report, const Evaluation& evaluation,
                const std::vector<RankedPicture>& ranked, const std::vector<JudgeAverage>& averages)
{
    const std::size_t pictures = evaluation.pictures.size(), judges = evaluation.judges.size();
    std::vector<const ReportRow*> rowOf(pictures, nullptr);
    for (const ReportRow& row : report.rows)
        rowOf[row.picture] = &row;
    for (std::size_t p = 0; p < pictures; ++p)
        if (rowOf[p]->excluded)
            report.excluded.push_back(
                texts::excludedLine(rowOf[p]->title, evaluation.exclusion(p)->reason));
    // An excluded picture is missing nobody's rating, nor is a judge's own.
    std::vector<std::size_t> toRate(judges, 0), ownJudges(pictures, 0);
    for (std::size_t j = 0; j < judges; ++j)
        for (std::size_t p = 0; p < pictures; ++p) {
            const bool own = ownPicture(evaluation.judges[j], p);
            ownJudges[p] += own;
            toRate[j] += !own && !rowOf[p]->excluded;
        }
    for (std::size_t j = 0; j < averages.size(); ++j)
        if (std::size_t(averages[j].rated) < toRate[j])
            report.judgesShort.push_back(
                texts::judgeShort(averages[j].name, averages[j].rated, toRate[j]));
    std::vector<int> rated(pictures, 0);
    for (const RankedPicture& row : ranked)
        rated[row.picture] = row.excluded ? int(judges) : row.rated;
    // Pictures nobody rated first: a short note still names them.
    for (const bool unrated : {true, false})
        for (std::size_t p = 0; p < pictures; ++p)
            if (std::size_t(rated[p]) < judges - ownJudges[p] && (rated[p] == 0) == unrated)
                report.picturesShort.push_back(
                    texts::pictureShort(rowOf[p]->title, rated[p], judges - ownJudges[p]));
    for (const Problem& problem : evaluation.problems)
        if (problem.kind == ProblemKind::LineLeftOut ||
            problem.kind == ProblemKind::JudgeFileUnreadable)
            report.linesLeftOut.push_back(problem.text);
    for (const auto* part : {&report.changedSinceFinal, &report.judgesShort, &report.picturesShort,
                             &report.linesLeftOut})
        report.missing.insert(report.missing.end(), part->begin(), part->end());
}

// Final while nothing changed since it was declared; else provisional
// again, saying why (before addMissing, which lists that first).
void addFinal(Report& report, const Evaluation& evaluation)
{
    const auto& declaration = evaluation.decisions.final;
    if (!declaration)
        return;
    report.changedSinceFinal = changesSince(*declaration, evaluation.inputs);
    if (!report.changedSinceFinal.empty())
        return;
    report.finalDate = declaration->date;
}

} // namespace

std::string pictureTitle(const std::string& fileName)
{
    for (const std::string_view extension : folderlisting::kPictureExtensions)
        if (fileName.size() > extension.size() &&
            folderlisting::hasExtension(fileName, {extension}))
            return fileName.substr(0, fileName.size() - extension.size());
    return fileName;
}

std::string pictureTitle(const std::string& fileName, const Entrant& entrant)
{
    std::string title =
        entrant.title.empty() && entrant.author.empty() ? pictureTitle(fileName) : entrant.title;
    if (entrant.author.empty())
        return title;
    return title.empty() ? entrant.author : title + " – " + entrant.author;
}

Report buildReport(const Evaluation& evaluation)
{
    Report report;
    report.entrantList = !evaluation.entrants.empty();
    report.pictureCount = evaluation.pictures.size();
    report.maxTotal = evaluation.maxTotal;
    report.problems = evaluation.problems;
    for (const Judge& judge : evaluation.judges)
        report.judges.push_back(shownName(judge.name));
    for (const VisibleCriterion& criterion : evaluation.criteria)
        report.criteria.push_back(criterion.caption);

    const std::vector<RankedPicture> ranked = rankPictures(evaluation);
    report.rows.reserve(ranked.size());
    for (const RankedPicture& row : ranked)
        report.rows.push_back(rowFor(evaluation, row));

    const std::vector<JudgeAverage> averages = judgeAverages(evaluation);
    for (const JudgeAverage& average : averages)
        report.judgeAverages.push_back(
            {average.name, std::to_string(average.rated),
             average.rated ? decimalComma(average.points, average.rated) : std::string(),
             deviationText(averages, average)});
    addFinal(report, evaluation);
    addMissing(report, evaluation, ranked, averages);
    if (report.entrantList) {
        std::vector<AuthorPicture> placed;
        for (const ReportRow& row : report.rows)
            if (!row.unrated())
                placed.push_back({row.author, row.meanPoints, row.place});
        report.authors = rankAuthors(placed);
    }
    report.ownPicturesNote = seasontexts::ownPicturesNote(evaluation.ownPicturesLeftOut);
    if (report.isFinal()) {
        for (const std::string& picture : report.picturesShort)
            report.finalLines.push_back(texts::kPicturePrefix + picture);
        report.finalLines.insert(report.finalLines.end(), report.excluded.begin(),
                                 report.excluded.end());
    }
    return report;
}

std::vector<std::string> listedProblems(const std::vector<Problem>& problems)
{
    std::map<ProblemKind, std::size_t> total, listed;
    for (const Problem& problem : problems)
        ++total[problem.kind];
    std::vector<std::string> texts;
    for (const Problem& problem : problems) {
        const std::size_t n = ++listed[problem.kind];
        if (n <= tunables::kProblemsOfAKind)
            texts.push_back(problem.text);
        else if (n == tunables::kProblemsOfAKind + 1)
            texts.push_back(texts::moreOnThePage(total[problem.kind] - tunables::kProblemsOfAKind));
    }
    return texts;
}

} // namespace evaluation
