#include "evaluation/ranking/Evaluation.h"

#include "core/Failure.h"
#include "core/Messages.h"
#include "core/PictureNames.h"
#include "core/TextEncoding.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"
#include "pictures/NameKey.h"

namespace evaluation {

namespace {

bool fifteenZeros(const std::string& line)
{
    return line.size() >= std::size_t(kCriterionCount) &&
           line.find_first_not_of('0') >= std::size_t(kCriterionCount);
}

// The pictures a line names alike, readable.
std::vector<std::string> alikeNames(const std::vector<std::size_t>& positions,
                                    const std::vector<std::string>& pictures)
{
    std::vector<std::string> names;
    names.reserve(positions.size());
    for (const std::size_t p : positions)
        names.push_back(shownName(pictures[p]));
    return names;
}

} // namespace

ScoredLine scoreLine(const Maxima& maxima, const std::string& line)
{
    ScoreBoard board;
    for (int n = 0; n < kCriterionCount; ++n)
        board.setMaximum(n, maxima[std::size_t(n)]);
    ScoredLine scored;
    try {
        rating::QelRefresh(rating::Sheet{line}, 0, board);
    } catch (const Failure&) {
        // The judging program's own text speaks of integers; a judge reads "Ziffer".
        const std::size_t bad = line.find_first_not_of("0123456789");
        std::size_t end = bad + 1;
        while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
            ++end; // the whole UTF-8 character
        scored.failure = texts::notADigit(displayText(line.substr(bad, end - bad)));
        return scored;
    }
    scored.score = Score{{}, fifteenZeros(line)};
    for (int n = 0; n < kCriterionCount; ++n)
        scored.score->points[std::size_t(n)] = board.position(n);
    return scored;
}

Problem unreadablePicture(const std::string& picture,
                          const std::optional<pictures::DecodeError>& error)
{
    const std::string name = shownName(picture);
    return {ProblemKind::PictureUnreadable, std::string(), 0, name,
            messages::cannotOpenPicture(name) +
                (error ? " " + pictures::errorText(*error) : std::string())};
}

Judge matchJudge(const std::string& judgeName, const rating::Sheet& lines,
                 const std::vector<std::string>& pictures, const Maxima& maxima,
                 std::vector<Problem>& problems)
{
    const rating::PictureNames names(pictures, pictures::nameKey);

    const std::string judge = shownName(judgeName);
    Judge result{judgeName, std::vector<std::optional<Score>>(pictures.size())};
    std::vector<std::size_t> lineOf(pictures.size(), 0); // 0: no line, else its number
    std::vector<bool> mentioned(pictures.size(), false);

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t number = i + 1;
        const std::string name(rating::namePart(lines[i]));
        const rating::NameMatch match = names.match(lines[i]);
        const std::optional<std::size_t> found = match.picture;
        if (found)
            mentioned[*found] = true;
        const ScoredLine scored = scoreLine(maxima, lines[i]);
        // A line naming nothing of the folder may be a line of any file: quoted short.
        const std::string quoted =
            found || !match.alike.empty() ? shownName(name) : quotedName(shownName(name));
        std::string problem, picture;
        if (!scored.score) {
            problem = scored.failure;
            picture = quoted;
        } else if (name.empty())
            problem = texts::kNoFileName;
        else if (!match.alike.empty())
            problem = texts::namesSeveral(quoted, alikeNames(match.alike, pictures));
        else if (!found)
            problem = texts::noSuchPicture(quoted);
        else if (lineOf[*found] != 0)
            problem = texts::alreadyRated(shownName(name), lineOf[*found]);
        if (!problem.empty()) {
            problems.push_back(
                {ProblemKind::LineLeftOut, judge, number, quoted,
                 texts::judgeLine(judge, number, picture) + problem + texts::kLineLeftOut});
            continue;
        }
        result.scores[*found] = scored.score;
        lineOf[*found] = number;
        if (scored.score->allZero)
            problems.push_back({ProblemKind::AllZero, judge, number, shownName(name),
                                texts::judgeLine(judge, number) + "'" + shownName(name) +
                                    "': " + texts::kAllZero + texts::kCountsAsNotRated});
    }
    // A picture whose only line was left out has been reported with that line.
    for (std::size_t p = 0; p < pictures.size(); ++p)
        if (!mentioned[p])
            problems.push_back({ProblemKind::NoLine, judge, 0, shownName(pictures[p]),
                                texts::missingLine(judge, shownName(pictures[p]))});
    return result;
}

} // namespace evaluation
