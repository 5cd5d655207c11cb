#pragma once

#include "evaluation/ranking/Report.h"

#include <string>
#include <string_view>
#include <vector>

namespace evaluation {

// Columns a terminal gives the text (pictures::displayCells): a combining
// mark none, a wide character two.
std::size_t displayWidth(std::string_view utf8);

// The text cut to `width` columns, its last one "…", when it is wider.
std::string shortened(const std::string& utf8, std::size_t width);

// Columns padded to their widest cell, two spaces apart, a rule under the
// headings; the last column is not padded. A row's note, when there is one,
// follows on lines of its own, indented by noteIndent and wrapped at 100
// columns.
std::string alignedTable(const std::vector<std::string>& headings,
                         const std::vector<bool>& rightAligned,
                         const std::vector<std::vector<std::string>>& rows,
                         const std::vector<std::string>& notes = {}, std::size_t noteIndent = 0);

// The ranking for the terminal: Platz, Bild (the title), each judge,
// Mittel, and the hint below its row; an empty cell shows "–". Up to five
// judges it fits 100 columns: names beyond 12 characters and long titles are
// shortened with "…".
std::string rankingTable(const Report& report);

// Each judge's average over the pictures they rated.
std::string judgeAveragesTable(const Report& report);

} // namespace evaluation
