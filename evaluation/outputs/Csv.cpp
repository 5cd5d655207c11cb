#include "evaluation/outputs/Csv.h"

#include "evaluation/outputs/AuthorsOutputs.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"

#include <string_view>

namespace evaluation {

namespace {

// "-0,8", "12": what the outputs write as numbers.
bool isNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const auto comma = text.find(',');
    const auto digits = [](std::string_view part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return comma == std::string_view::npos
               ? digits(text)
               : digits(text.substr(0, comma)) && digits(text.substr(comma + 1));
}

} // namespace

void appendCsvRow(std::string& out, const std::vector<std::string>& fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? ";" : "") + csvField(fields[i]);
    out += "\r\n";
}

std::string csvField(const std::string& text)
{
    std::string field = controlsReplaced(text, "");
    if (!field.empty() && std::string_view("=+-@\t\r").find(field.front()) != std::string::npos &&
        !isNumber(field))
        field.insert(0, "'");
    if (field.find_first_of(";\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string rankingCsv(const Report& report)
{
    std::string out = "\xEF\xBB\xBF";
    // With an entrant list the picture is its file, title and author.
    std::vector<std::string> fields{texts::kRank};
    if (report.entrantList)
        fields.insert(fields.end(),
                      {texts::kEntrantFile, texts::kTitleHeading, texts::kEntrantAuthor});
    else
        fields.emplace_back(texts::kPicture);
    fields.insert(fields.end(), report.judges.begin(), report.judges.end());
    // The mean is the one figure to compare: no sum over a varying number of judges.
    for (const char* heading : {texts::kMean, texts::kSpread, texts::kWirkungMean,
                                texts::kTechnikMean, texts::kGestaltungMean, texts::kHint})
        fields.emplace_back(heading);
    appendCsvRow(out, fields);

    for (const ReportRow& row : report.rows) {
        fields = {row.place ? std::to_string(row.place) : std::string(), row.fileName};
        if (report.entrantList)
            fields.insert(fields.end(), {row.entrantTitle, row.author});
        fields.insert(fields.end(), row.judgeCells.begin(), row.judgeCells.end());
        fields.insert(fields.end(),
                      {row.mean, row.spread, row.wirkung, row.technik, row.gestaltung, row.hint});
        appendCsvRow(out, fields);
    }
    return out + authorsCsv(report);
}

} // namespace evaluation
