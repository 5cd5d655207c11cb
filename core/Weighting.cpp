#include "core/Weighting.h"

#include "core/Messages.h"
#include "core/TextEncoding.h"
#include "core/TextFile.h"
#include "core/Tunables.h"

#include <algorithm>

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
    // Notepad saves UTF-8 with a byte order mark; the descriptions show as UTF-8.
    const std::vector<std::string> lines =
        textfile::splitLines(textfile::withoutByteOrderMark(*fileContents), kCriterionCount + 1);
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
        textfile::readLeadingText(path, kCriterionCount + 1, tunables::kMaxTextFileBytes));
}

CriterionSettings settingsOf(const Weighting& weighting)
{
    CriterionSettings settings;
    for (int n = 0; n < kCriterionCount; ++n) {
        CriterionSetting& setting = settings[static_cast<std::size_t>(n)];
        setting.maximum =
            n < weighting.validMaxima ? weighting.maxima[static_cast<std::size_t>(n)] : 0;
        if (weighting.outcome != Weighting::Outcome::Loaded)
            continue;
        const std::string shown =
            displayText(weighting.rows[static_cast<std::size_t>(n)].caption.substr(1));
        for (std::size_t i = 0; i < shown.size(); ++i) {
            setting.description += shown[i];
            if (shown[i] == '&' && i + 1 < shown.size() && shown[i + 1] == '&')
                ++i;
        }
    }
    return settings;
}

std::vector<std::string> weightingExplanation(const std::string& fileContents)
{
    std::vector<std::string> lines = textfile::splitLines(fileContents);
    lines.erase(lines.begin(),
                lines.begin() + std::min<std::ptrdiff_t>(
                                    kCriterionCount, static_cast<std::ptrdiff_t>(lines.size())));
    for (std::string& line : lines)
        line = displayText(line);
    return lines;
}

std::string captionOf(const std::string& description)
{
    std::string caption = " ";
    for (const char c : description)
        caption += c == '&' ? std::string("&&") : std::string(1, c);
    return caption;
}

std::optional<std::string> weightingFileBytes(const CriterionSettings& settings,
                                              const std::vector<std::string>& explanation,
                                              int* badCriterion)
{
    std::vector<std::string> lines;
    auto fail = [&](int criterion) {
        if (badCriterion)
            *badCriterion = criterion;
        return std::nullopt;
    };
    for (int n = 0; n < kCriterionCount; ++n) {
        const CriterionSetting& setting = settings[static_cast<std::size_t>(n)];
        const std::optional<std::string> bytes = utf8ToWindows1252(captionOf(setting.description));
        if (!bytes || bytes->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            return fail(n);
        lines.push_back(std::to_string(std::clamp(setting.maximum, 0, 9)) + *bytes);
    }
    for (const std::string& line : explanation) {
        const std::optional<std::string> bytes = utf8ToWindows1252(line);
        if (!bytes || bytes->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            return fail(-1);
        lines.push_back(*bytes);
    }
    return textfile::joinLines(lines);
}
