#pragma once

#include "core/Criteria.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The weighting file Qel.max: line n gives criterion n its maximum
// (character 1), a separator (character 2) and its description (3 onwards).
inline constexpr char kWeightingFileName[] = "Qel.max";

struct WeightingRow {
    std::string caption; // " " + description, bytes as in the file
    bool visible = true; // a row whose caption is one space is hidden
};

struct Weighting {
    enum class Outcome { Loaded, Unreadable, TooShort, BadLine };

    Outcome outcome = Outcome::Unreadable;
    int validMaxima = 0; // maxima applied before loading stopped
    std::array<int, kCriterionCount> maxima{};
    std::array<WeightingRow, kCriterionCount> rows{}; // only when Loaded

    // The warning to show, if any.
    std::optional<std::string> warning() const;
};

Weighting parseWeighting(const std::optional<std::string>& fileContents);
Weighting readWeighting(const std::string& path = kWeightingFileName);

// What the organiser sets for a criterion: its maximum 0..9 and its
// description as shown (UTF-8; "&" means itself). An empty one hides the row.
struct CriterionSetting {
    int maximum = 0;
    std::string description;
};
using CriterionSettings = std::array<CriterionSetting, kCriterionCount>;

// The settings a loaded weighting file gives ("&&" read as "&"); maxima
// only as far as they were read.
CriterionSettings settingsOf(const Weighting& weighting);

// The lines after the fifteenth (the template's explanation), as shown (UTF-8).
std::vector<std::string> weightingExplanation(const std::string& fileContents);

// The description a judge would see for `setting`'s row: " " + it, "&" as "&&".
std::string captionOf(const std::string& description);

// The bytes of a weighting file: fifteen lines of the maximum, a space and the
// description in Windows-1252 with "&" written "&&", then the explanation;
// every line ends in CR LF. Nothing when a text holds a line break or a
// character Windows-1252 lacks; `badCriterion` then names the criterion
// (-1: the explanation).
std::optional<std::string> weightingFileBytes(const CriterionSettings& settings,
                                              const std::vector<std::string>& explanation,
                                              int* badCriterion = nullptr);
