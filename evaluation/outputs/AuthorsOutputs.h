#pragma once

#include "evaluation/ranking/Report.h"

#include <string>

// The authors' ranking in the CSV and on the page; each empty without an
// entrant list. The PDF draws it with its own table (PdfReport).
namespace evaluation {

// Rows after the ranking: an empty row, "Autorenwertung", the headings,
// a row per author, then the note on own pictures when there is one.
std::string authorsCsv(const Report& report);

// A section with a table of the authors and the note.
std::string authorsHtml(const Report& report);

} // namespace evaluation
