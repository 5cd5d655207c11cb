#pragma once

#include "evaluation/ranking/Evaluation.h"

#include <optional>
#include <string>
#include <vector>

namespace evaluation {

struct RankedPicture {
    std::size_t picture = 0; // index into Evaluation::pictures
    int rank = 0;            // 1, 2, 2, 4: equal means share a rank
    int sum = 0;             // over the judges whose rating counts
    int wirkung = 0;
    int technik = 0;
    int gestaltung = 0;
    CriterionPoints points{};  // per criterion, over the judges whose rating counts
    int rated = 0;             // judges whose rating counts (not all zeros)
    std::optional<int> spread; // highest minus lowest judge total
    bool disagreement = false; // spread above a quarter of maxTotal
    bool excluded = false;     // left out by the organiser: no figures, no place
};

// Highest mean over the judges who rated first, so a picture one judge
// missed is not pushed down; within an equal mean by the mean in
// Gestaltung, then Wirkung (higher first), then picture-list order.
// Pictures nobody rated come next, the excluded ones last.
std::vector<RankedPicture> rankPictures(const Evaluation& evaluation);

// The "Hinweis" of a picture: who did not rate it, who gave all zeros,
// whether the judges disagree; for an excluded one why it was.
std::string hint(const Evaluation& evaluation, const RankedPicture& row);

struct JudgeAverage {
    std::string name; // readable
    int rated = 0;
    long long points = 0;
};
// Over the pictures that are not excluded.
std::vector<JudgeAverage> judgeAverages(const Evaluation& evaluation);

// How far one judge's average lies from the average of all ratings ("+1,3"),
// so the club sees who scores strictly or generously; "" without ratings.
std::string deviationText(const std::vector<JudgeAverage>& all, const JudgeAverage& one);

// Numbers as a German reader writes them.
std::string rankText(int rank);                                             // "2."
std::string decimalComma(long long numerator, long long denominator);       // one decimal, "37,5"
std::string signedDecimalComma(long long numerator, long long denominator); // "+1,3", "-0,5"
std::string meanText(const RankedPicture& row); // "" when nobody rated it

} // namespace evaluation
