#pragma once

#include "core/Criteria.h"

#include <string>
#include <vector>

// One line per picture: fifteen digits, "-", the picture's file name.
namespace rating {

// CR and LF in the name are written as "?", so one picture is one line.
std::string newLine(const std::string& fileName);

// QelList: entry i belongs to picture i by position alone.
using Sheet = std::vector<std::string>;

// QelListReset: one all-zero line per picture, in list order.
Sheet freshSheet(const std::vector<std::string>& pictureNames);

// Appends a fresh line for every picture beyond the sheet's last line, so
// scores given to those pictures are kept.
void extendToPictures(Sheet& sheet, const std::vector<std::string>& pictureNames);

// bewerten: character n of line `index` := digit of slider n. A line
// shorter than fifteen characters is first extended to fifteen digits.
// Throws Failure when the sheet has no line `index`.
void bewerten(Sheet& sheet, int index, const ScoreBoard& board);

// QelRefresh: sets the sliders from line `index`, read once beforehand. A
// slider without a digit in a short line is set to 0. Throws Failure for a
// missing line (no slider touched) or for a non-digit: the sliders before it
// are set, the others show 0, and the line stays as stored, whatever the
// sliders' changes wrote back, until the judge moves a slider.
void QelRefresh(Sheet& sheet, int index, ScoreBoard& board);
// The same for a sheet the sliders do not write back into.
void QelRefresh(const Sheet& sheet, int index, ScoreBoard& board);

// Texts of the rating panel.
std::string valueLabel(int position, int maximum);
std::string pointsText(int sum, int maximum);

struct ScoreTexts {
    std::vector<std::string> valueLabels; // fifteen
    std::string W, T, B, Total;
};
ScoreTexts scoreTexts(const ScoreBoard& board, int maxW, int maxT, int maxB, int maxTotal);

} // namespace rating
