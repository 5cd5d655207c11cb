#pragma once

#include "evaluation/ranking/Evaluation.h"

// A score with these group sums, each in its group's first criterion.
inline evaluation::Score groupScore(int wirkung, int technik, int gestaltung, bool allZero = false)
{
    evaluation::Score score;
    score.points[0] = wirkung;
    score.points[kCriteriaPerGroup] = technik;
    score.points[std::size_t{2} * kCriteriaPerGroup] = gestaltung;
    score.allZero = allZero;
    return score;
}
