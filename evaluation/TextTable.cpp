#include "evaluation/TextTable.h"

#include "core/TextEncoding.h"
#include "evaluation/Texts.h"

#include <algorithm>

namespace evaluation {

namespace {

constexpr char kGap[] = "  ";

void appendCells(std::string& out, const std::vector<std::string>& cells,
                 const std::vector<std::size_t>& widths, const std::vector<bool>& right)
{
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const std::size_t pad = widths[c] - displayWidth(cells[c]);
        const bool last = c + 1 == cells.size();
        if (c > 0)
            line += kGap;
        if (right[c])
            line += std::string(pad, ' ') + cells[c];
        else
            line += cells[c] + (last ? std::string() : std::string(pad, ' '));
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    out += line + "\n";
}

} // namespace

std::size_t displayWidth(std::string_view utf8)
{
    return std::size_t(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string alignedTable(const std::vector<std::string>& headings,
                         const std::vector<bool>& rightAligned,
                         const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths(headings.size());
    for (std::size_t c = 0; c < headings.size(); ++c)
        widths[c] = displayWidth(headings[c]);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], displayWidth(row[c]));

    std::string out;
    appendCells(out, headings, widths, rightAligned);
    // Under the headings only: a long last cell need not stretch the rule.
    std::size_t ruleWidth = displayWidth(headings.back());
    for (std::size_t c = 0; c + 1 < widths.size(); ++c)
        ruleWidth += widths[c] + (sizeof kGap - 1);
    out += std::string(ruleWidth, '-') + "\n";
    for (const auto& row : rows)
        appendCells(out, row, widths, rightAligned);
    return out;
}

std::string rankingTable(const Evaluation& evaluation, const std::vector<RankedPicture>& rows)
{
    std::vector<std::string> headings{texts::kRank, texts::kPicture};
    std::vector<bool> right{true, false};
    for (const Judge& judge : evaluation.judges) {
        headings.push_back(displayText(judge.name));
        right.push_back(true);
    }
    headings.insert(headings.end(), {texts::kSum, texts::kMean, texts::kSpread, texts::kHint});
    right.insert(right.end(), {true, true, true, false});

    std::vector<std::vector<std::string>> cells;
    for (const RankedPicture& row : rows) {
        std::vector<std::string> line{rankText(row.rank),
                                      displayText(evaluation.pictures[row.picture])};
        for (const Judge& judge : evaluation.judges) {
            const auto& score = judge.scores[row.picture];
            line.push_back(score ? std::to_string(score->total()) : texts::kNoScore);
        }
        line.push_back(std::to_string(row.sum));
        line.push_back(row.rated ? meanText(row) : texts::kNoScore);
        line.push_back(row.spread ? std::to_string(*row.spread) : texts::kNoScore);
        line.push_back(hint(evaluation, row));
        cells.push_back(std::move(line));
    }
    return alignedTable(headings, right, cells);
}

std::string judgeAveragesTable(const Evaluation& evaluation)
{
    const std::vector<JudgeAverage> averages = judgeAverages(evaluation);
    std::vector<std::vector<std::string>> cells;
    cells.reserve(averages.size());
    for (const JudgeAverage& average : averages)
        cells.push_back(
            {average.name, std::to_string(average.rated),
             average.rated ? decimalComma(average.points, average.rated) : texts::kNoScore,
             average.rated ? deviationText(averages, average) : texts::kNoScore});
    return alignedTable({texts::kJudge, texts::kRatedPictures, texts::kAverage, texts::kDeviation},
                        {false, true, true, true}, cells);
}

} // namespace evaluation
