#include "evaluation/Ranking.h"

#include <gtest/gtest.h>

namespace {

using evaluation::Evaluation;
using evaluation::Score;

Evaluation withJudges(std::vector<std::vector<std::optional<Score>>> judges, int pictures)
{
    Evaluation e;
    for (int p = 0; p < pictures; ++p)
        e.pictures.push_back("p" + std::to_string(p));
    for (std::size_t j = 0; j < judges.size(); ++j)
        e.judges.push_back({"J" + std::to_string(j), std::move(judges[j])});
    e.maxTotal = 20;
    return e;
}

TEST(Ranking, EqualSumsShareARankAndAreOrderedByGestaltungWirkungAndListOrder)
{
    // Sums 10, 12, 10, 10, 8, 10: four pictures share rank 2.
    const Evaluation e = withJudges({{Score{4, 3, 3}, Score{4, 4, 4}, Score{2, 3, 5},
                                      Score{5, 2, 3}, Score{3, 3, 2}, Score{4, 3, 3}}},
                                    6);
    std::vector<std::string> order, ranks;
    for (const auto& row : evaluation::rankPictures(e)) {
        order.push_back(e.pictures[row.picture]);
        ranks.push_back(evaluation::rankText(row.rank));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"p1", "p2", "p3", "p0", "p5", "p4"}));
    EXPECT_EQ(ranks, (std::vector<std::string>{"1.", "2.", "2.", "2.", "2.", "6."}));
}

TEST(Ranking, MeanSpreadAndDisagreementCountOnlyTheJudgesWhoRated)
{
    const auto total = [](int points) { return std::optional<Score>(Score{points, 0, 0}); };
    const std::optional<Score> none;
    // maxTotal 20: a spread of 5 is a quarter, 6 is more.
    const Evaluation e = withJudges({{total(10), total(10), total(4), none, none},
                                     {total(15), none, total(10), none, total(0)},
                                     {total(11), total(12), none, none, none}},
                                    5);
    struct Expected {
        int sum;
        std::string mean;
        std::optional<int> spread;
        bool disagreement;
        std::string hint;
    };
    const Expected expected[] = {
        {36, "12,0", 5, false, ""},
        {22, "11,0", 2, false, "nicht bewertet: J1"},
        {14, "7,0", 6, true, "nicht bewertet: J2; Bewerter uneinig"},
        {0, "", std::nullopt, false, "nicht bewertet: J0, J1, J2"},
        {0, "0,0", 0, false, "nicht bewertet: J0, J2"},
    };
    for (const auto& row : evaluation::rankPictures(e)) {
        const Expected& want = expected[row.picture];
        EXPECT_EQ(row.sum, want.sum) << row.picture;
        EXPECT_EQ(evaluation::meanText(row), want.mean) << row.picture;
        EXPECT_EQ(row.spread, want.spread) << row.picture;
        EXPECT_EQ(row.disagreement, want.disagreement) << row.picture;
        EXPECT_EQ(evaluation::hint(e, row), want.hint) << row.picture;
    }
    const auto averages = evaluation::judgeAverages(e);
    ASSERT_EQ(averages.size(), 3u);
    EXPECT_EQ(averages[1].rated, 3);
    EXPECT_EQ(averages[1].points, 25);
    // All ratings: 72 points in 8; J1 gives 25 in 3 (8,33 against 9,0).
    EXPECT_EQ(evaluation::deviationText(averages, averages[1]), "-0,7");
}

TEST(Ranking, DecimalCommaRoundsHalfAwayFromZero)
{
    const std::tuple<long long, long long, std::string> cases[] = {
        {71, 2, "35,5"},  {106, 3, "35,3"}, {107, 3, "35,7"}, {1, 20, "0,1"},
        {-1, 20, "-0,1"}, {-1, 40, "0,0"},  {0, 5, "0,0"},    {5, -2, "-2,5"},
    };
    for (const auto& [numerator, denominator, text] : cases)
        EXPECT_EQ(evaluation::decimalComma(numerator, denominator), text)
            << numerator << "/" << denominator;
    EXPECT_EQ(evaluation::signedDecimalComma(1, 3), "+0,3");
    EXPECT_EQ(evaluation::signedDecimalComma(0, 3), "0,0");
}

} // namespace
