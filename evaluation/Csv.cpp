#include "evaluation/Csv.h"

#include "core/TextEncoding.h"
#include "evaluation/Texts.h"

namespace evaluation {

namespace {

void appendRow(std::string& out, const std::vector<std::string>& fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? ";" : "") + csvField(fields[i]);
    out += "\r\n";
}

} // namespace

std::string csvField(const std::string& text)
{
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string rankingCsv(const Evaluation& evaluation, const std::vector<RankedPicture>& rows)
{
    std::string out = "\xEF\xBB\xBF";
    std::vector<std::string> fields{texts::kRank, texts::kPicture};
    for (const Judge& judge : evaluation.judges)
        fields.push_back(displayText(judge.name));
    for (const char* heading : {texts::kSum, texts::kMean, texts::kSpread, texts::kWirkung,
                                texts::kTechnik, texts::kGestaltung, texts::kHint})
        fields.emplace_back(heading);
    appendRow(out, fields);

    for (const RankedPicture& row : rows) {
        fields = {std::to_string(row.rank), displayText(evaluation.pictures[row.picture])};
        for (const Judge& judge : evaluation.judges) {
            const auto& score = judge.scores[row.picture];
            fields.push_back(score ? std::to_string(score->total()) : std::string());
        }
        fields.push_back(std::to_string(row.sum));
        fields.push_back(meanText(row));
        fields.push_back(row.spread ? std::to_string(*row.spread) : std::string());
        fields.push_back(std::to_string(row.wirkung));
        fields.push_back(std::to_string(row.technik));
        fields.push_back(std::to_string(row.gestaltung));
        fields.push_back(hint(evaluation, row));
        appendRow(out, fields);
    }
    return out;
}

} // namespace evaluation
