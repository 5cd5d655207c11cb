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
