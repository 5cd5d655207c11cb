#pragma once

#include "evaluation/ranking/Authors.h"

#include <optional>
#include <string>
#include <vector>

// The season's standings ("Jahreswertung") over the competitions of a
// year, authors matched by their name key. Plain C++.
namespace evaluation {

struct SeasonRule {
    enum class Kind { Sum, Best, Places };
    Kind kind = Kind::Sum;
    int best = 0;                 // Best: how many means count
    std::vector<int> points = {}; // Places: points for place 1, 2, …
    int perCompetition = 0;       // Places: points for taking part
};

// "summe" (or nothing), "beste:N", "plaetze:10,8,6" or "plaetze:10,8,6+2";
// nothing for any other text.
std::optional<SeasonRule> parseSeasonRule(const std::string& text);
std::string ruleText(const SeasonRule& rule); // for the outputs' footnote

// One competition as the season sees it.
struct SeasonCompetition {
    std::string name;                    // the folder's readable name
    std::vector<AuthorPicture> pictures; // the placed pictures with an author
    std::vector<AuthorRow> authors;      // its authors' ranking
};

struct SeasonRow {
    int place = 0;
    std::string rank; // "2."
    std::string author;
    std::vector<std::string> cells; // per competition what it adds; "" when not taken part
    Points total;
    std::string totalText;
};

struct Season {
    std::vector<std::string> competitions; // in the order given
    std::vector<SeasonRow> rows;           // best first
    std::vector<std::string> problems;     // folders left out and why
    std::string rule;                      // ruleText
};

// Equal totals share a place; within it the author met first comes first.
Season rankSeason(const std::vector<SeasonCompetition>& competitions, const SeasonRule& rule);

// Reads each folder as the ranking does (entrant list, exclusions, own
// pictures); a folder that cannot be evaluated, has no entrant list or is
// still provisional is a problem and left out.
Season readSeason(const std::vector<std::string>& folders, const SeasonRule& rule);

} // namespace evaluation
