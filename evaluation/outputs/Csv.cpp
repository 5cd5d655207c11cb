#include "evaluation/outputs/Csv.h"

#include "evaluation/outputs/AuthorsOutputs.h"
#include "evaluation/ranking/Columns.h"
#include "evaluation/ranking/Names.h"

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
    const std::vector<Column> columns = reportColumns(report, Output::Csv);
    std::vector<std::string> fields;
    fields.reserve(columns.size());
    for (const Column& column : columns)
        fields.push_back(column.heading);
    appendCsvRow(out, fields);
    for (const ReportRow& row : report.rows) {
        fields.clear();
        for (const Column& column : columns)
            fields.push_back(cellText(row, column));
        appendCsvRow(out, fields);
    }
    return out + authorsCsv(report);
}

} // namespace evaluation
