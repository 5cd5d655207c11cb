#pragma once

#include "evaluation/ranking/Report.h"

#include <string>
#include <vector>

namespace evaluation {

// A field as a German spreadsheet program reads it, and never as a formula:
// control characters left out; text beginning with "=", "+", "-", "@", tab
// or CR gets a leading apostrophe (a number such as "-0,8" stays a number);
// quoted, with inner quotes doubled, when it holds a ";" or a quote. Every
// CSV the organiser's program writes goes through it.
std::string csvField(const std::string& text);
// The fields as one row: ";" between them, CR LF after.
void appendCsvRow(std::string& out, const std::vector<std::string>& fields);

// Rangliste.csv: UTF-8 with byte-order mark, ";" between fields, decimal
// comma, every row followed by CR LF. A judge who did not rate a picture
// leaves the cell empty, so the spreadsheet's own sums stay right. The
// columns are the report's (Output::Csv): the picture is named by its file
// name, with an entrant list also by its title and author ("Datei", "Titel",
// "Autor"); a mean per visible criterion ("Bildidee (Mittel)") follows the
// group means.
std::string rankingCsv(const Report& report);

} // namespace evaluation
