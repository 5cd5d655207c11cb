#pragma once

#include "core/Criteria.h"
#include "core/RatingSheet.h"
#include "evaluation/ranking/Decisions.h"
#include "pictures/Decoder.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The judges' rating lines matched to the pictures of the folder and scored
// with the judging program's own sliders.
namespace evaluation {

using Maxima = std::array<int, kCriterionCount>;

using CriterionPoints = std::array<int, kCriterionCount>;

// A judge's points for a picture as the judging program's sliders hold them;
// its group sums and total are what its panels show.
struct Score {
    CriterionPoints points{}; // per criterion, clamped to its maximum; hidden ones count
    bool allZero = false;     // the line's fifteen digits are all 0: counts as not rated

    int group(Group group) const
    {
        int sum = 0;
        for (int n = 0; n < kCriterionCount; ++n)
            sum += groupOf(n) == group ? points[std::size_t(n)] : 0;
        return sum;
    }
    int total() const
    {
        int sum = 0;
        for (const int p : points)
            sum += p;
        return sum;
    }
};

// A judge's rating of a picture that counts: a line was matched and it is
// not all zeros (the judging program starts every picture at zero).
inline bool counts(const std::optional<Score>& score)
{
    return score && !score->allZero;
}

enum class ProblemKind {
    JudgeFileUnreadable, // the whole file left out
    LineLeftOut,         // a non-digit, no such picture, no name, a repeated line
    AllZero,             // the line counts as not rated
    NoLine,              // the judge has no line for a picture
    PictureUnreadable,   // its thumbnail could not be decoded
    EntrantList,         // the entrant list: unreadable, a file not in the folder or listed twice
    Decisions,           // the organiser's decisions cannot be read
};

// Something the organiser should know; never stops the evaluation.
struct Problem {
    ProblemKind kind = ProblemKind::LineLeftOut;
    std::string judge;    // readable; empty when no judge is concerned
    std::size_t line = 0; // in the judge's file, from 1; 0 when no line is concerned
    std::string picture;  // readable file name; empty when no picture is concerned
    std::string text;     // the whole report line, as every view prints it
};

// The problem for a picture whose thumbnail failed, and why when decoding did.
Problem unreadablePicture(const std::string& picture,
                          const std::optional<pictures::DecodeError>& error);

struct ScoredLine {
    std::optional<Score> score;
    std::string failure; // the judging program's text for a non-digit
};

// The line as the judging program's refresh reads it: each digit clamped to
// its criterion's maximum, hidden criteria counted.
ScoredLine scoreLine(const Maxima& maxima, const std::string& line);

struct Judge {
    std::string name;                         // bytes of the file name without ".qel"
    std::vector<std::optional<Score>> scores; // per picture; nothing: "nicht bewertet"
    std::vector<bool> own = {}; // per picture: the judge's own, not counted (empty: none)
};

// The judge's own picture: neither counted nor missing.
inline bool ownPicture(const Judge& judge, std::size_t picture)
{
    return picture < judge.own.size() && judge.own[picture];
}

// A picture's title and author from the entrant list (UTF-8, readable);
// both empty for a picture the list does not name.
struct Entrant {
    std::string title;
    std::string author;
};

// A criterion the judges see (its row is not hidden by Qel.max).
struct VisibleCriterion {
    int criterion = 0;   // 0..14 in table order
    std::string caption; // readable, as the judges see it, without the leading space
    int maximum = 0;
};

// Everything the outputs show, worked out once.
struct Evaluation {
    std::vector<std::string> pictures;      // bytes, in picture-list order
    std::vector<VisibleCriterion> criteria; // in table order
    std::vector<Entrant> entrants;          // per picture when there is an entrant list, else empty
    std::vector<Judge> judges;
    std::vector<Problem> problems;  // in the order met
    int maxTotal = 0;               // one judge's highest possible total
    std::vector<InputPrint> inputs; // the pictures and criteria, then every rating file
    Decisions decisions;            // the organiser's exclusions and final declaration
    // The authors (as the list writes them) who judged and whose own
    // pictures were therefore left out of their ratings.
    std::vector<std::string> ownPicturesLeftOut;

    // The reason a picture is left out of the ranking; nothing when it is in.
    const Exclusion* exclusion(std::size_t picture) const
    {
        return decisions.exclusions.empty() ? nullptr : decisions.exclusionOf(pictures[picture]);
    }
};

// Gives each picture the first good line that names it (names compared as
// the judging program compares them, rating::PictureNames); reports, with
// the judge's name and the line number, lines with a non-digit, lines naming
// no picture of the folder or several alike, repeated lines, all-zero lines
// and pictures left without a line. Never stops.
Judge matchJudge(const std::string& judgeName, const rating::Sheet& lines,
                 const std::vector<std::string>& pictures, const Maxima& maxima,
                 std::vector<Problem>& problems);

} // namespace evaluation
