#pragma once

#include "core/NewFolder.h"
#include "core/Weighting.h"
#include "evaluation/ranking/Preparation.h"

#include <optional>
#include <random>
#include <string>
#include <vector>

// What the preparation writes: the competition folder (the pictures, Qel.max,
// the judges' guide) and the entrant list beside it.
namespace evaluation {

inline constexpr char kGuideFileName[] = "InfoQuintavo.pdf";
inline constexpr char kEntrantListSuffix[] = " Teilnehmer.csv";

struct Competition {
    std::string place; // the folder it goes into
    std::string name;  // the competition's name (UTF-8), the folder's name
    bool anonymous = true;
    std::vector<Entry> entries; // the included ones are taken
    CriterionSettings criteria;
    std::string guide; // the guide's path
};

std::string competitionFolder(const Competition& competition);
std::string entrantListPath(const Competition& competition);

// Datei;Titel;Autor of the given names and entries, ordered by file name:
// UTF-8 with byte-order mark, ";", CR LF, quoted where needed.
std::string entrantList(const std::vector<std::string>& names,
                        const std::vector<const Entry*>& entries);

// The criteria of the entries folder's own Qel.max when it has one
// (preparing again), else the template's; `from` is the file they came from.
CriterionSettings criteriaFor(const std::string& entriesFolder, const std::string& templateFile,
                              std::string& from);

// What Qel.max says below its fifteenth line (UTF-8): how the file is
// read, and this competition's criteria with their groups' sums.
std::vector<std::string> competitionExplanation(const CriterionSettings& criteria);

// The folder and the list as newfolder::write takes them, the anonymous
// order drawn from `random`; anonymous copies without their metadata.
// Nothing when a description cannot be written (`badCriterion` tells which).
std::optional<newfolder::Plan> competitionPlan(const Competition& competition, std::mt19937& random,
                                               int* badCriterion = nullptr);

} // namespace evaluation
