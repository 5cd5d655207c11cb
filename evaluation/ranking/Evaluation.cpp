#include "evaluation/ranking/Evaluation.h"

#include "core/Failure.h"
#include "core/Messages.h"
#include "core/PictureNames.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"

namespace evaluation {

namespace {

bool fifteenZeros(const std::string& line)
{
    return line.size() >= std::size_t(kCriterionCount) &&
           line.find_first_not_of('0') >= std::size_t(kCriterionCount);
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
    } catch (const Failure& failure) {
        scored.failure = failure.what();
        return scored;
    }
    scored.score = Score{board.groupSum(Group::Wirkung), board.groupSum(Group::Technik),
                         board.groupSum(Group::Gestaltung), fifteenZeros(line)};
    return scored;
}

Problem unreadablePicture(const std::string& picture, int jpegError)
{
    const std::string name = shownName(picture);
    return {ProblemKind::PictureUnreadable, std::string(), 0, name,
            messages::cannotOpenPicture(name) +
                (jpegError ? " " + messages::jpegError(jpegError) : std::string())};
}

Judge matchJudge(const std::string& judgeName, const rating::Sheet& lines,
                 const std::vector<std::string>& pictures, const Maxima& maxima,
                 std::vector<Problem>& problems)
{
    const rating::PictureNames names(pictures);

    const std::string judge = shownName(judgeName);
    Judge result{judgeName, std::vector<std::optional<Score>>(pictures.size())};
    std::vector<std::size_t> lineOf(pictures.size(), 0); // 0: no line, else its number
    std::vector<bool> mentioned(pictures.size(), false);

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t number = i + 1;
        const std::string name(rating::namePart(lines[i]));
        const std::optional<std::size_t> found = names.pictureNamedBy(lines[i]);
        if (found)
            mentioned[*found] = true;
        const ScoredLine scored = scoreLine(maxima, lines[i]);
        std::string problem;
        if (!scored.score)
            problem = scored.failure;
        else if (name.empty())
            problem = texts::kNoFileName;
        else if (!found)
            problem = texts::noSuchPicture(shownName(name));
        else if (lineOf[*found] != 0)
            problem = texts::alreadyRated(shownName(name), lineOf[*found]);
        if (!problem.empty()) {
            problems.push_back({ProblemKind::LineLeftOut, judge, number, shownName(name),
                                texts::judgeLine(judge, number) + problem + texts::kLineLeftOut});
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
