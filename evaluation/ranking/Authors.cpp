#include "evaluation/ranking/Authors.h"

#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Ranking.h"
#include "pictures/NameKey.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace evaluation {

namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool rankedBefore(const AuthorRow& a, const AuthorRow& b)
{
    if (const int bySum = compare(a.sum, b.sum))
        return bySum > 0;
    return compare(a.best, b.best) > 0;
}

} // namespace

Points operator+(Points a, Points b)
{
    const long long common = std::gcd(a.denominator, b.denominator);
    Points sum{a.numerator * (b.denominator / common) + b.numerator * (a.denominator / common),
               a.denominator / common * b.denominator};
    const long long reduce = std::gcd(sum.numerator, sum.denominator);
    if (reduce > 1) {
        sum.numerator /= reduce;
        sum.denominator /= reduce;
    }
    return sum;
}

int compare(Points a, Points b)
{
    // Wide enough for any two reduced sums of a club's means.
    __extension__ using Wide = __int128;
    const Wide left = Wide(a.numerator) * b.denominator, right = Wide(b.numerator) * a.denominator;
    return (left > right) - (left < right);
}

std::string pointsText(Points points)
{
    return decimalComma(points.numerator, points.denominator);
}

std::string authorKey(const std::string& name)
{
    return trimmed(pictures::nameKey(trimmed(name)));
}

std::vector<AuthorRow> rankAuthors(const std::vector<AuthorPicture>& pictures)
{
    std::vector<AuthorRow> rows;
    std::map<std::string, std::size_t> rowOf;
    for (const AuthorPicture& picture : pictures) {
        std::string key = authorKey(picture.author);
        if (key.empty())
            continue;
        const auto [at, added] = rowOf.try_emplace(key, rows.size());
        if (added)
            rows.push_back({0, {}, trimmed(picture.author), std::move(key), 0, {}, picture.mean});
        AuthorRow& row = rows[at->second];
        ++row.pictures;
        row.sum = row.sum + picture.mean;
        if (compare(picture.mean, row.best) > 0)
            row.best = picture.mean;
    }
    // Equal in both, the author named first in the list stays first.
    std::stable_sort(rows.begin(), rows.end(), rankedBefore);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        AuthorRow& row = rows[i];
        row.place = i > 0 && !rankedBefore(rows[i - 1], row) ? rows[i - 1].place : int(i) + 1;
        row.rank = rankText(row.place);
        row.sumText = pointsText(row.sum);
        row.bestText = pointsText(row.best);
    }
    return rows;
}

void leaveOutOwnPictures(Evaluation& evaluation)
{
    if (evaluation.entrants.empty())
        return;
    std::vector<std::string> authorKeys;
    for (const Entrant& entrant : evaluation.entrants)
        authorKeys.push_back(authorKey(entrant.author));
    std::vector<bool> named(evaluation.entrants.size(), false);
    for (Judge& judge : evaluation.judges) {
        const std::string key = authorKey(shownName(judge.name));
        for (std::size_t p = 0; p < authorKeys.size(); ++p) {
            if (key.empty() || authorKeys[p] != key)
                continue;
            judge.own.resize(evaluation.pictures.size(), false);
            judge.own[p] = true;
            judge.scores[p].reset();
            // What the judge did or did not write for it is no problem now.
            const std::string picture = pictures::nameKey(shownName(evaluation.pictures[p]));
            const std::string judgeShown = shownName(judge.name);
            std::erase_if(evaluation.problems, [&](const Problem& problem) {
                return (problem.kind == ProblemKind::NoLine ||
                        problem.kind == ProblemKind::AllZero) &&
                       problem.judge == judgeShown && pictures::nameKey(problem.picture) == picture;
            });
            if (!named[p]) {
                bool already = false;
                for (std::size_t q = 0; q < p; ++q)
                    already = already || (named[q] && authorKeys[q] == key);
                if (!already)
                    evaluation.ownPicturesLeftOut.push_back(trimmed(evaluation.entrants[p].author));
                named[p] = true;
            }
        }
    }
}

} // namespace evaluation
