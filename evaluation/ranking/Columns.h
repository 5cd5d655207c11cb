#pragma once

#include "evaluation/ranking/Report.h"

#include <cstddef>
#include <string>
#include <vector>

// The report's one table of columns. The terminal table, Rangliste.csv,
// Rangliste.pdf, Rangliste.html and the window each lay out the columns
// they are given here, in this order; a new output column begins in the
// table in Columns.cpp (and, when it shows something new, in Shows and
// cellText).
namespace evaluation {

enum class Output { Terminal, Csv, Pdf, Page, Window };

// What a column shows of a ReportRow.
enum class Shows {
    Rank,          // "2."
    Place,         // 2, a number for a spreadsheet
    Thumbnail,     // the picture; its text is the title
    Title,         // "Abendlicht am See – Max Muster"
    FileName,      // as on disk
    EntrantTitle,  // the entrant list's cells
    Author,        //
    Judge,         // one column per judge: their total
    Mean,          // over the judges whose rating counts
    MeanOrWhy,     // the mean, else "nicht bewertet" or "ausgeschlossen"
    Sum,           // over the judges whose rating counts
    Spread,        // highest minus lowest total
    Wirkung,       // the group means
    Technik,       //
    Gestaltung,    //
    CriterionMean, // one column per visible criterion
    Hint,          // "nicht bewertet: Jo; Bewerter uneinig"
};

enum class Align { Left, Right };

struct Column {
    Shows shows = Shows::Rank;
    std::string heading; // in the output asked for
    bool number = false; // a figure: where it is empty the output shows "–" (the CSV nothing)
    Align align = Align::Left;
    // Names a judge or shows a judge's points: never on the public page.
    bool organiserOnly = false;
    std::size_t of = 0; // the judge or criterion: index into Report::judges or ::criteria
};

// The columns `output` shows for `report`, in order. The page gets no
// organiser-only column, whatever the table says.
std::vector<Column> reportColumns(const Report& report, Output output);

// The cell's text; "" where there is nothing (a judge who did not rate).
std::string cellText(const ReportRow& row, const Column& column);
// As every output but the CSV shows it: an empty figure reads "–".
std::string shownCell(const ReportRow& row, const Column& column);

} // namespace evaluation
