#pragma once

#include "evaluation/ranking/Authors.h"
#include "evaluation/ranking/Evaluation.h"

#include <cstddef>
#include <string>
#include <vector>

// The ranking built once: every view (terminal table, Rangliste.csv,
// Rangliste.pdf, Rangliste.html, the window) only lays this out. Plain C++,
// all texts UTF-8 and readable.
//
// How a caller gets one:
//   FolderResult result = evaluateFolder(folder);   // Qel.max, list, .qel files; no picture
//   store.update(folder, result.evaluation.pictures, progress, &cancel); // ThumbnailStore
//   store.addProblems(result.evaluation);           // pictures that cannot be read
//   Report report = buildReport(result.evaluation);
//   writeOutputs(folder, report, store.findAll(pictures)); // Run.h: the three files
// Re-scoring after a .qel changed is the same calls with the same store:
// update() decodes only new or changed pictures (none then), so the ranking
// follows in milliseconds.
namespace evaluation {

struct ReportRow {
    std::size_t picture = 0; // position in file order (Evaluation::pictures)
    int place = 0;           // 1, 2, 2, 4; 0 when nobody rated it or it is excluded
    std::string rank;        // "2."; "" when nobody rated it
    std::string fileName;    // readable, as on disk (the CSV's "Bild")
    // What every output calls the picture: "Abendlicht am See – Max Muster"
    // from the entrant list, else the file name without ".jpg"/".jpeg".
    std::string title;
    std::string entrantTitle, author;         // the list's cells; "" without a list or entry
    std::vector<std::string> judgeCells;      // per judge column: the total, "" when not rated
    std::string mean;                         // "37,5"; "" when nobody rated it
    std::string sum;                          // over the judges who rated it (the window's)
    std::string spread;                       // highest minus lowest total; "" when nobody rated
    std::string wirkung, technik, gestaltung; // group means over the judges who rated, "12,5"
    std::vector<std::string> criterionMeans;  // per Report::criteria, likewise; "" unrated
    // "nicht bewertet: Jo; Bewerter uneinig"; may be ""; starts with "nicht
    // bewertet" when nobody rated it.
    std::string hint;
    bool disagreement = false; // judges more than a quarter of maxTotal apart
    bool excluded = false;     // left out by the organiser; its hint says why
    Points meanPoints;         // the mean exactly, for the authors and the season

    bool unrated() const { return place == 0; }
};

struct JudgeRow {
    std::string name;      // readable
    std::string rated;     // pictures rated (all-zero lines do not count)
    std::string average;   // "37,5"; "" without ratings
    std::string deviation; // from the average of all ratings, "+1,3"; "" without ratings
};

struct Report {
    std::vector<std::string> judges;   // column headings, readable, in byte order of the files
    std::vector<std::string> criteria; // the visible criteria's captions, in table order
    std::vector<ReportRow> rows;       // best first
    std::vector<JudgeRow> judgeAverages;
    std::vector<Problem> problems; // in the order met
    // Why the ranking is provisional; all empty when nothing is missing. The
    // organiser's views show `missing`: the four lists below in turn.
    std::vector<std::string> missing;
    std::vector<std::string> changedSinceFinal; // why a final declaration no longer holds
    std::vector<std::string> judgesShort;       // "Bewerter 'Anna B' hat 5 von 12 Bildern bewertet"
    std::vector<std::string> picturesShort;     // "Straßenszene: 2 von 3 Bewertern", unrated first
    std::vector<std::string> linesLeftOut;      // the problems of lines and files left out
    bool entrantList = false;                   // titles and authors come from an entrant list
    std::vector<AuthorRow> authors;             // the authors' ranking; empty without a list
    std::string ownPicturesNote; // "eigene Bilder nicht gewertet: Anna Berg"; "" when none
    std::size_t pictureCount = 0;
    int maxTotal = 0; // one judge's highest possible total
    // Declared final with nothing changed since: its date, and the lines the
    // outputs show instead of the provisional note (the pictures short of
    // judges, "Bild 12: 2 von 3 Bewertern", those nobody rated, the excluded).
    std::string finalDate;
    std::vector<std::string> finalLines;
    std::vector<std::string> excluded; // "Bild 5: ausgeschlossen – beschädigt", in file order

    bool isFinal() const { return !finalDate.empty(); }
    bool provisional() const { return !isFinal() && !missing.empty(); }
};

// The picture's title: its readable file name without ".jpg" or ".jpeg"
// (any letter case).
std::string pictureTitle(const std::string& fileName);
// With an entry of the entrant list: "Titel – Autor", either alone when the
// other is empty; the file's title when both are.
std::string pictureTitle(const std::string& fileName, const Entrant& entrant);

Report buildReport(const Evaluation& evaluation);

// The problems' texts as the terminal, the PDF and the window list them:
// of each kind the first tunables::kProblemsOfAKind in order, then one line
// "… und N weitere" where the next one would have been.
std::vector<std::string> listedProblems(const std::vector<Problem>& problems);

// What the title lines of the PDF and the page show.
struct Heading {
    std::string folderName; // readable
    std::string date;       // as printed, e.g. "07.12.2025"
};

} // namespace evaluation
