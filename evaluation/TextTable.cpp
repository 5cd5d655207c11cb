#include "evaluation/TextTable.h"

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

namespace {

const std::string& orDash(const std::string& cell)
{
    static const std::string dash = texts::kNoScore;
    return cell.empty() ? dash : cell;
}

} // namespace

std::string rankingTable(const Report& report)
{
    std::vector<std::string> headings{texts::kRank, texts::kPicture};
    std::vector<bool> right{true, false};
    for (const std::string& judge : report.judges) {
        headings.push_back(judge);
        right.push_back(true);
    }
    headings.insert(headings.end(), {texts::kMean, texts::kSum, texts::kSpread, texts::kHint});
    right.insert(right.end(), {true, true, true, false});

    std::vector<std::vector<std::string>> cells;
    for (const ReportRow& row : report.rows) {
        std::vector<std::string> line{row.rank, row.title};
        for (const std::string& cell : row.judgeCells)
            line.push_back(orDash(cell));
        line.insert(line.end(), {orDash(row.mean), row.sum, orDash(row.spread), row.hint});
        cells.push_back(std::move(line));
    }
    return alignedTable(headings, right, cells);
}

std::string judgeAveragesTable(const Report& report)
{
    std::vector<std::vector<std::string>> cells;
    cells.reserve(report.judgeAverages.size());
    for (const JudgeRow& judge : report.judgeAverages)
        cells.push_back({judge.name, judge.rated, orDash(judge.average), orDash(judge.deviation)});
    return alignedTable({texts::kJudge, texts::kRatedPictures, texts::kAverage, texts::kDeviation},
                        {false, true, true, true}, cells);
}

} // namespace evaluation
