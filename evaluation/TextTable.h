#pragma once

#include "evaluation/Ranking.h"

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

// The ranking for the terminal: Platz, Bild, each judge, Summe, Mittelwert,
// Spanne, Hinweis; a judge who did not rate a picture shows "–".
std::string rankingTable(const Evaluation& evaluation, const std::vector<RankedPicture>& rows);

// Each judge's average over the pictures they rated.
std::string judgeAveragesTable(const Evaluation& evaluation);

} // namespace evaluation
