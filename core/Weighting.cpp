#include "core/Weighting.h"

#include "core/Messages.h"
#include "core/TextFile.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::string> Weighting::warning() const
{
    switch (outcome) {
    case Outcome::Loaded:
        return std::nullopt;
    case Outcome::TooShort:
        return messages::kWeightingIncorrect;
    case Outcome::Unreadable:
    case Outcome::BadLine:
        break;
    }
    return messages::kWeightingNotLoaded;
}

Weighting parseWeighting(const std::optional<std::string>& fileContents)
{
    Weighting w;
    if (!fileContents)
        return w;
    // Nothing reads beyond the fifteenth line; one more tells "at least fifteen".
    const std::vector<std::string> lines = textfile::splitLines(*fileContents, kCriterionCount + 1);
    if (lines.size() < static_cast<std::size_t>(kCriterionCount)) {
        w.outcome = Weighting::Outcome::TooShort;
        return w;
    }
    for (int n = 0; n < kCriterionCount; ++n) {
        const std::string& line = lines[n];
        if (line.empty() || !isDigit(line[0])) {
            w.outcome = Weighting::Outcome::BadLine;
            return w;
        }
        w.maxima[n] = line[0] - '0';
        w.validMaxima = n + 1;
    }
    for (int n = 0; n < kCriterionCount; ++n) {
        const std::string& line = lines[n];
        WeightingRow& row = w.rows[n];
        row.caption = " " + (line.size() > 2 ? line.substr(2) : std::string());
        row.visible = row.caption != " ";
    }
    w.outcome = Weighting::Outcome::Loaded;
    return w;
}

Weighting readWeighting(const std::string& path)
{
    // Only the first sixteen lines matter, however large the file is.
    return parseWeighting(
        textfile::readLeadingText(path, kCriterionCount + 1, textfile::kMaxTextFileBytes));
}
