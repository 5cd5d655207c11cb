#pragma once

#include "evaluation/Report.h"

#include <string>
#include <string_view>
#include <vector>

namespace evaluation {

// Columns a terminal gives the text: one per code point (the names of a
// photo club are European; wide East Asian characters are not measured).
std::size_t displayWidth(std::string_view utf8);

// Columns padded to their widest cell, two spaces apart, a rule under the
// headings; the last column is not padded.
std::string alignedTable(const std::vector<std::string>& headings,
                         const std::vector<bool>& rightAligned,
                         const std::vector<std::vector<std::string>>& rows);

// The ranking for the terminal: Platz, Bild (the title), each judge,
// Mittelwert, Summe, Spanne, Hinweis; an empty cell shows "–".
std::string rankingTable(const Report& report);

// Each judge's average over the pictures they rated.
std::string judgeAveragesTable(const Report& report);

} // namespace evaluation
