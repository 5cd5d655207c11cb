#include "evaluation/outputs/TextTable.h"

#include "evaluation/Tunables.h"
#include "evaluation/ranking/Columns.h"
#include "evaluation/ranking/Texts.h"
#include "pictures/TextCells.h"

#include <algorithm>

namespace evaluation {

std::size_t displayWidth(std::string_view utf8)
{
    return pictures::displayCells(utf8);
}

namespace {

constexpr char kGap[] = "  ";

// Words wrapped at tunables::kTerminalColumns, every line indented.
std::string wrapped(const std::string& text, std::size_t indent)
{
    std::string out, line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() &&
            indent + displayWidth(line) + 1 + displayWidth(word) > tunables::kTerminalColumns) {
            out += std::string(indent, ' ') + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return out + std::string(indent, ' ') + line + "\n";
}

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

std::string shortened(const std::string& utf8, std::size_t width)
{
    if (displayWidth(utf8) <= width)
        return utf8;
    // "…" takes one cell.
    return utf8.substr(0, pictures::fittingBytes(utf8, width == 0 ? 0 : width - 1)) + "…";
}

std::string alignedTable(const std::vector<std::string>& headings,
                         const std::vector<bool>& rightAligned,
                         const std::vector<std::vector<std::string>>& rows,
                         const std::vector<std::string>& notes, std::size_t noteIndent)
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
    for (std::size_t r = 0; r < rows.size(); ++r) {
        appendCells(out, rows[r], widths, rightAligned);
        if (r < notes.size() && !notes[r].empty())
            out += wrapped(notes[r], noteIndent);
    }
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
    // Platz, Mittel and their gaps take 15 columns; the judges share what
    // the title leaves, their names shortened with "…" beyond 12 characters.
    constexpr std::size_t kFixed = 15, kMinTitle = 14, kMinJudge = 5, kMaxJudge = 12;
    const std::vector<Column> columns = reportColumns(report, Output::Terminal);
    const std::size_t judges = report.judges.size();
    std::size_t longestName = 0, longestTitle = displayWidth(texts::kPicture);
    for (const std::string& judge : report.judges)
        longestName = std::max(longestName, displayWidth(judge));
    for (const ReportRow& row : report.rows)
        longestTitle = std::max(longestTitle, displayWidth(row.title));
    const std::size_t judgeRoom =
        judges
            ? std::max<std::size_t>((tunables::kTerminalColumns - kFixed - kMinTitle) / judges, 2) -
                  2
            : 0;
    const std::size_t judgeWidth =
        std::min({longestName, kMaxJudge, std::max(kMinJudge, judgeRoom)});
    const std::size_t titleRoom = tunables::kTerminalColumns - kFixed - judges * (judgeWidth + 2);
    const std::size_t titleWidth =
        std::min(longestTitle, std::max(kMinTitle, judges <= 5 ? titleRoom : kMinTitle));
    // Only the judges and the title are cut to their share of the width.
    const auto fitted = [&](const Column& column, const std::string& text) {
        return column.shows == Shows::Judge   ? shortened(text, judgeWidth)
               : column.shows == Shows::Title ? shortened(text, titleWidth)
                                              : text;
    };

    std::vector<std::string> headings;
    std::vector<bool> right;
    for (const Column& column : columns) {
        headings.push_back(fitted(column, column.heading));
        right.push_back(column.align == Align::Right);
    }
    std::vector<std::vector<std::string>> cells;
    std::vector<std::string> hints;
    for (const ReportRow& row : report.rows) {
        std::vector<std::string> line;
        line.reserve(columns.size());
        for (const Column& column : columns)
            line.push_back(fitted(column, shownCell(row, column)));
        cells.push_back(std::move(line));
        hints.push_back(row.hint);
    }
    // Hints on a line of their own below the row, under the title.
    return alignedTable(headings, right, cells, hints, std::string(texts::kRank).size() + 2);
}

std::string judgeAveragesTable(const Report& report)
{
    std::vector<std::vector<std::string>> cells;
    cells.reserve(report.judgeAverages.size());
    for (const JudgeRow& judge : report.judgeAverages)
        cells.push_back({shortened(judge.name, tunables::kTerminalColumns - 40), judge.rated,
                         orDash(judge.average), orDash(judge.deviation)});
    return alignedTable({texts::kJudge, texts::kRatedPictures, texts::kAverage, texts::kDeviation},
                        {false, true, true, true}, cells);
}

} // namespace evaluation
