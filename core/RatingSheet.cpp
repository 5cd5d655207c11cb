#include "core/RatingSheet.h"

#include "core/Failure.h"
#include "core/Messages.h"
#include "core/PictureNames.h"

#include <optional>

namespace rating {

namespace {

const std::string& lineAt(const Sheet& sheet, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= sheet.size())
        throw Failure(messages::listIndexOutOfBounds(index));
    return sheet[static_cast<std::size_t>(index)];
}

} // namespace

std::string newLine(const std::string& fileName)
{
    // A line break in a file name would split the picture's line in two on
    // save and shift every later picture's scores.
    return "000000000000000-" + writtenName(fileName);
}

Sheet freshSheet(const std::vector<std::string>& pictureNames)
{
    Sheet sheet;
    sheet.reserve(pictureNames.size());
    for (const auto& name : pictureNames)
        sheet.push_back(newLine(name));
    return sheet;
}

void extendToPictures(Sheet& sheet, const std::vector<std::string>& pictureNames)
{
    for (std::size_t i = sheet.size(); i < pictureNames.size(); ++i)
        sheet.push_back(newLine(pictureNames[i]));
}

void bewerten(Sheet& sheet, int index, const ScoreBoard& board)
{
    std::string line = lineAt(sheet, index);
    if (line.size() < static_cast<std::size_t>(kCriterionCount))
        line.resize(kCriterionCount, '0');
    for (int n = 0; n < kCriterionCount; ++n)
        line[static_cast<std::size_t>(n)] = valueLabel(board.position(n), board.maximum(n)).front();
    sheet[static_cast<std::size_t>(index)] = std::move(line);
}

namespace {

// Every slider from its digit, 0 where there is none; a Failure afterwards
// for the first non-digit.
void setSliders(const std::string& line, ScoreBoard& board)
{
    std::optional<char> bad;
    for (int n = 0; n < kCriterionCount; ++n) {
        int value = 0;
        if (static_cast<std::size_t>(n) < line.size() && !bad) {
            const char c = line[static_cast<std::size_t>(n)];
            if (c >= '0' && c <= '9')
                value = c - '0';
            else
                bad = c;
        }
        board.setPosition(n, value);
    }
    if (bad)
        throw Failure(messages::notAnInteger(displayText(std::string(1, *bad))));
}

} // namespace

void QelRefresh(Sheet& sheet, int index, ScoreBoard& board)
{
    // A copy: every slider that changes writes the sheet back meanwhile.
    const std::string line = lineAt(sheet, index);
    try {
        setSliders(line, board);
    } catch (const Failure&) {
        // Scores the judge gave are not rewritten by a character nobody can read.
        sheet[static_cast<std::size_t>(index)] = line;
        throw;
    }
}

void QelRefresh(const Sheet& sheet, int index, ScoreBoard& board)
{
    setSliders(lineAt(sheet, index), board);
}

std::string valueLabel(int position, int maximum)
{
    return std::to_string(position) + "/" + std::to_string(maximum);
}

std::string pointsText(int sum, int maximum)
{
    return std::to_string(sum) + " / " + std::to_string(maximum) + " Punkte";
}

ScoreTexts scoreTexts(const ScoreBoard& board, int maxW, int maxT, int maxB, int maxTotal)
{
    ScoreTexts texts;
    for (int n = 0; n < kCriterionCount; ++n)
        texts.valueLabels.push_back(valueLabel(board.position(n), board.maximum(n)));
    const int w = board.groupSum(Group::Wirkung);
    const int t = board.groupSum(Group::Technik);
    const int b = board.groupSum(Group::Gestaltung);
    texts.W = pointsText(w, maxW);
    texts.T = pointsText(t, maxT);
    texts.B = pointsText(b, maxB);
    texts.Total = pointsText(w + t + b, maxTotal);
    return texts;
}

} // namespace rating
