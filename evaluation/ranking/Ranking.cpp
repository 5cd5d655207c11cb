#include "evaluation/ranking/Ranking.h"

#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace evaluation {

namespace {

// a's part per judge against b's: negative, zero or positive, exact in integers.
long long compareMeans(long long aPoints, int aRated, long long bPoints, int bRated)
{
    return aPoints * bRated - bPoints * aRated;
}

// Higher mean first; a picture nobody rated after every rated one.
long long compareMean(const RankedPicture& a, const RankedPicture& b)
{
    if (a.rated == 0 || b.rated == 0)
        return (a.rated > 0) - (b.rated > 0);
    return compareMeans(a.sum, a.rated, b.sum, b.rated);
}

bool rankedBefore(const RankedPicture& a, const RankedPicture& b)
{
    if (a.excluded != b.excluded)
        return b.excluded;
    if (const long long byMean = compareMean(a, b))
        return byMean > 0;
    if (a.rated == 0)
        return false;
    if (const long long byGestaltung = compareMeans(a.gestaltung, a.rated, b.gestaltung, b.rated))
        return byGestaltung > 0;
    return compareMeans(a.wirkung, a.rated, b.wirkung, b.rated) > 0;
}

} // namespace

std::vector<RankedPicture> rankPictures(const Evaluation& evaluation)
{
    std::vector<RankedPicture> rows(evaluation.pictures.size());
    for (std::size_t p = 0; p < rows.size(); ++p) {
        RankedPicture& row = rows[p];
        row.picture = p;
        row.excluded = evaluation.exclusion(p) != nullptr;
        if (row.excluded)
            continue;
        int low = 0, high = 0;
        for (const Judge& judge : evaluation.judges) {
            const auto& score = judge.scores[p];
            if (!counts(score))
                continue;
            const int total = score->total();
            low = row.rated == 0 ? total : std::min(low, total);
            high = row.rated == 0 ? total : std::max(high, total);
            ++row.rated;
            row.sum += total;
            row.wirkung += score->group(Group::Wirkung);
            row.technik += score->group(Group::Technik);
            row.gestaltung += score->group(Group::Gestaltung);
            for (std::size_t n = 0; n < row.points.size(); ++n)
                row.points[n] += score->points[n];
        }
        if (row.rated > 0)
            row.spread = high - low;
        row.disagreement = row.rated > 1 && 4 * (high - low) > evaluation.maxTotal;
    }
    std::stable_sort(rows.begin(), rows.end(), rankedBefore);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].rank =
            i > 0 && compareMean(rows[i], rows[i - 1]) == 0 ? rows[i - 1].rank : int(i) + 1;
    return rows;
}

std::string hint(const Evaluation& evaluation, const RankedPicture& row)
{
    if (const Exclusion* exclusion = evaluation.exclusion(row.picture))
        return std::string(texts::kExcluded) +
               (exclusion->reason.empty() ? "" : ": " + exclusion->reason);
    std::string notRated, allZero;
    const auto addName = [](std::string& list, const std::string& name) {
        list += (list.empty() ? "" : ", ") + shownName(name);
    };
    for (const Judge& judge : evaluation.judges) {
        const auto& score = judge.scores[row.picture];
        if (!score && !ownPicture(judge, row.picture))
            addName(notRated, judge.name);
        else if (score && score->allZero) // a judge's own picture has no score
            addName(allZero, judge.name);
    }
    std::string text;
    const auto add = [&text](const std::string& part) {
        text += (text.empty() ? "" : "; ") + part;
    };
    if (!notRated.empty())
        add(std::string(texts::kNotRated) + ": " + notRated);
    if (!allZero.empty())
        add(std::string(texts::kAllZero) + ": " + allZero);
    if (row.disagreement)
        add(texts::kDisagree);
    return text;
}

std::vector<JudgeAverage> judgeAverages(const Evaluation& evaluation)
{
    std::vector<JudgeAverage> averages;
    for (const Judge& judge : evaluation.judges) {
        JudgeAverage average{shownName(judge.name)};
        for (std::size_t p = 0; p < judge.scores.size(); ++p)
            if (const auto& score = judge.scores[p]; counts(score) && !evaluation.exclusion(p)) {
                ++average.rated;
                average.points += score->total();
            }
        averages.push_back(average);
    }
    return averages;
}

std::string deviationText(const std::vector<JudgeAverage>& all, const JudgeAverage& one)
{
    long long points = 0, rated = 0;
    for (const JudgeAverage& average : all) {
        points += average.points;
        rated += average.rated;
    }
    if (one.rated == 0)
        return std::string();
    return signedDecimalComma(one.points * rated - points * one.rated, one.rated * rated);
}

std::string rankText(int rank)
{
    return std::to_string(rank) + ".";
}

std::string decimalComma(long long numerator, long long denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    // Tenths rounded half away from zero, in integers so that 37.25 stays exact.
    const long long tenths = (std::llabs(numerator) * 20 + denominator) / (2 * denominator);
    const std::string sign = numerator < 0 && tenths != 0 ? "-" : "";
    return sign + std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

std::string signedDecimalComma(long long numerator, long long denominator)
{
    const std::string text = decimalComma(numerator, denominator);
    return text[0] == '-' || text == "0,0" ? text : "+" + text;
}

std::string meanText(const RankedPicture& row)
{
    return row.rated > 0 ? decimalComma(row.sum, row.rated) : std::string();
}

} // namespace evaluation
