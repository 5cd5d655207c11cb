#include "core/RatingSheet.h"
#include "core/Weighting.h"
#include "evaluation/ranking/Evaluation.h"

#include <gtest/gtest.h>

namespace {

// W5 has maximum 3 but no caption: hidden, still counted. T5 and B5 are 0.
constexpr char kQelMax[] = "5 Idee\r\n5 Spannung\r\n4 Stimmung\r\n3 Original\r\n3 \r\n"
                           "5 Schaerfe\r\n4 Licht\r\n3 Farbe\r\n3 Bearbeitung\r\n0 \r\n"
                           "5 Aufbau\r\n4 Linien\r\n3 Licht\r\n3 Schnitt\r\n0 \r\n";

struct Totals {
    std::string W, T, B, Total;
};

// What the judging program's panel shows for the line.
Totals judgingProgramShows(const Weighting& weighting, const std::string& line)
{
    ScoreBoard board;
    for (int n = 0; n < kCriterionCount; ++n)
        board.setMaximum(n, weighting.maxima[std::size_t(n)]);
    rating::QelRefresh(rating::Sheet{line}, 0, board);
    const int w = board.groupMaximum(Group::Wirkung), t = board.groupMaximum(Group::Technik),
              b = board.groupMaximum(Group::Gestaltung);
    const auto texts = rating::scoreTexts(board, w, t, b, w + t + b);
    return {texts.W, texts.T, texts.B, texts.Total};
}

TEST(Scoring, TotalsAreWhatTheJudgingProgramShows)
{
    const Weighting weighting = parseWeighting(std::string(kQelMax));
    ASSERT_FALSE(weighting.warning());
    ASSERT_FALSE(weighting.rows[4].visible);
    const int maxTotal = 20 + 15 + 15;

    struct Case {
        std::string line;
        int w, t, b;
        bool allZero;
    };
    const Case cases[] = {
        {"443204332043220-a.jpg", 13, 12, 11, false},
        {"443224332043220-a.jpg", 15, 12, 11, false}, // the hidden W5 counts
        {"999999999999999-a.jpg", 20, 15, 15, false}, // every digit clamped, T5 and B5 to 0
        {"000000000900009-a.jpg", 0, 0, 0, false},    // over-range digits of maximum 0
        {"000000000000000-a.jpg", 0, 0, 0, true},
        {"000000000000000", 0, 0, 0, true},
        {"12345", 1 + 2 + 3 + 3 + 3, 0, 0, false}, // digits missing at the end count 0
        {"", 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        const evaluation::ScoredLine scored = evaluation::scoreLine(weighting.maxima, c.line);
        ASSERT_TRUE(scored.score) << c.line;
        const evaluation::Score& s = *scored.score;
        EXPECT_EQ(s.group(Group::Wirkung), c.w) << c.line;
        EXPECT_EQ(s.group(Group::Technik), c.t) << c.line;
        EXPECT_EQ(s.group(Group::Gestaltung), c.b) << c.line;
        EXPECT_EQ(s.allZero, c.allZero) << c.line;
        const Totals shown = judgingProgramShows(weighting, c.line);
        EXPECT_EQ(rating::pointsText(s.group(Group::Wirkung), 20), shown.W) << c.line;
        EXPECT_EQ(rating::pointsText(s.group(Group::Technik), 15), shown.T) << c.line;
        EXPECT_EQ(rating::pointsText(s.group(Group::Gestaltung), 15), shown.B) << c.line;
        EXPECT_EQ(rating::pointsText(s.total(), maxTotal), shown.Total) << c.line;
    }
}

TEST(Scoring, ANonDigitAmongTheFifteenFailsNamingTheCharacter)
{
    const evaluation::Maxima nines{9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    const std::pair<std::string, std::string> cases[] = {
        {"12a450000000000-a.jpg", "das Zeichen 'a' ist keine Ziffer"},
        {"00000000000000 -a.jpg", "das Zeichen ' ' ist keine Ziffer"},
        {"-00000000000000", "das Zeichen '-' ist keine Ziffer"},
        {"0000000000000\xe4", "das Zeichen 'ä' ist keine Ziffer"},
        {"0000000\xc3\xa4"
         "00000000",
         "das Zeichen 'ä' ist keine Ziffer"},
    };
    for (const auto& [line, failure] : cases) {
        const evaluation::ScoredLine scored = evaluation::scoreLine(nines, line);
        EXPECT_FALSE(scored.score) << line;
        EXPECT_EQ(scored.failure, failure) << line;
    }
    EXPECT_TRUE(evaluation::scoreLine(nines, "000000000000000xa.jpg").score);
}

} // namespace
