#include "evaluation/Scores.h"
#include "evaluation/ranking/Columns.h"
#include "evaluation/ranking/Ranking.h"
#include "evaluation/ranking/Report.h"

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

TEST(Ranking, FairRankingByTheMeanOfTheJudgesWhoRated)
{
    const auto S = [](int w, int t, int b) { return std::optional<Score>(groupScore(w, t, b)); };
    const std::optional<Score> none, zeros = groupScore(0, 0, 0, true);
    struct Case {
        const char* what;
        std::vector<std::string> judges;
        std::vector<std::vector<std::optional<Score>>> scores; // per judge, per picture
        std::vector<std::string> rows; // rank, title, judge cells, mean, sum, hint
        std::vector<std::string> missing;
        std::vector<evaluation::Problem> problems = {};
        evaluation::Decisions decisions = {};
        std::vector<evaluation::InputPrint> inputs = {}; // as read now
        std::vector<std::string> finalLines = {};        // declared final and still so
    };
    const evaluation::FinalDeclaration declared{"08.12.2026", {{"J1.qel", 1}}};
    using evaluation::ProblemKind;
    const Case cases[] = {
        {"ties: shared places, then Gestaltung, Wirkung, file order",
         {"J1", "J2"},
         {{S(4, 3, 3), S(3, 3, 4), S(5, 5, 5), S(4, 3, 3), S(2, 3, 3)},
          {S(4, 3, 3), S(3, 3, 4), S(5, 5, 5), S(4, 3, 3), S(2, 3, 3)}},
         {"1.|c|15|15|15,0|30|", "2.|b|10|10|10,0|20|", "2.|a|10|10|10,0|20|",
          "2.|d|10|10|10,0|20|", "5.|e|8|8|8,0|16|"},
         {}},
        {"a missing judge pushes nothing down",
         {"J1", "J2", "J3"},
         {{S(5, 3, 2), S(4, 4, 4), S(4, 4, 3)},
          {S(5, 3, 2), S(4, 4, 4), S(4, 4, 3)},
          {S(5, 3, 2), none, S(4, 4, 3)}},
         {"1.|b|12|12||12,0|24|nicht bewertet: J3", "2.|c|11|11|11|11,0|33|",
          "3.|a|10|10|10|10,0|30|"},
         {"Bewerter 'J3' hat 2 von 3 Bildern bewertet", "b: 2 von 3 Bewertern"}},
        {"an all-zero line counts as not rated",
         {"J1", "J2"},
         {{zeros, S(3, 3, 3)}, {S(4, 3, 3), S(3, 3, 3)}},
         {"1.|a||10|10,0|10|alle Kriterien 0: J1", "2.|b|9|9|9,0|18|"},
         {"Bewerter 'J1' hat 1 von 2 Bildern bewertet", "a: 1 von 2 Bewertern"}},
        {"a partial second file of a judge; a picture nobody rated comes last",
         {"Anna", "Anna B", "Bernd"},
         {{S(3, 3, 3), none, S(1, 1, 1)}, {none, none, S(9, 9, 9)}, {S(3, 3, 3), none, none}},
         {"1.|c|3|27||15,0|30|nicht bewertet: Bernd", "2.|a|9||9|9,0|18|nicht bewertet: Anna B",
          "|b||||||nicht bewertet: Anna, Anna B, Bernd"},
         {"Bewerter 'Anna' hat 2 von 3 Bildern bewertet",
          "Bewerter 'Anna B' hat 1 von 3 Bildern bewertet",
          "Bewerter 'Bernd' hat 1 von 3 Bildern bewertet", "b: nicht bewertet",
          "a: 2 von 3 Bewertern", "c: 2 von 3 Bewertern"}},
        {"every picture rated, but a line or a file left out",
         {"J1"},
         {{S(3, 3, 3)}},
         {"1.|a|9|9,0|9|"},
         {"J1, Zeile 2: kein Bild 'x.jpg' im Ordner – Zeile nicht gewertet",
          "Die Bewertungsdatei 'J2.qel' kann nicht gelesen werden!"},
         {{ProblemKind::LineLeftOut, "J1", 2, "x.jpg",
           "J1, Zeile 2: kein Bild 'x.jpg' im Ordner – Zeile nicht gewertet"},
          {ProblemKind::AllZero, "J1", 3, "a.jpg", "not a reason"},
          {ProblemKind::JudgeFileUnreadable, "J2", 0, "",
           "Die Bewertungsdatei 'J2.qel' kann nicht gelesen werden!"},
          {ProblemKind::PictureUnreadable, "", 0, "a.jpg", "not a reason either"}}},
        {"an excluded picture leaves the ranking and misses no rating",
         {"J1", "J2"},
         {{S(3, 3, 3), S(5, 5, 5), S(4, 4, 4)}, {S(3, 3, 3), none, S(4, 4, 4)}},
         {"1.|c|12|12|12,0|24|", "2.|a|9|9|9,0|18|", "|b|15||||ausgeschlossen: zurückgezogen"},
         {},
         {},
         {{{"b.jpg", "zurückgezogen"}}, std::nullopt}},
        {"declared final: each picture short of judges and each excluded one named",
         {"J1", "J2"},
         {{S(3, 3, 3), S(2, 2, 2), S(1, 1, 1)}, {S(3, 3, 3), none, none}},
         {"1.|a|9|9|9,0|18|", "2.|b|6||6,0|6|nicht bewertet: J2",
          "|c|3||||ausgeschlossen: beschädigt"},
         {"Bewerter 'J2' hat 1 von 2 Bildern bewertet", "b: 1 von 2 Bewertern"},
         {},
         {{{"c.jpg", "beschädigt"}}, declared},
         {{"J1.qel", 1}},
         {"Bild b: 1 von 2 Bewertern", "Bild c: ausgeschlossen – beschädigt"}},
        {"a sheet changed after the declaration: provisional again, saying why",
         {"J1"},
         {{S(3, 3, 3)}},
         {"1.|a|9|9,0|9|"},
         {"Seit der endgültigen Rangliste vom 08.12.2026 wurde die Bewertungsdatei 'J1.qel' "
          "geändert – wieder vorläufig"},
         {},
         {{}, declared},
         {{"J1.qel", 2}}},
    };
    for (const Case& c : cases) {
        Evaluation e;
        e.maxTotal = 100;
        e.problems = c.problems;
        e.decisions = c.decisions;
        e.inputs = c.inputs;
        for (std::size_t p = 0; p < c.scores[0].size(); ++p)
            e.pictures.push_back(std::string(1, char('a' + p)) + ".jpg");
        for (std::size_t j = 0; j < c.judges.size(); ++j)
            e.judges.push_back({c.judges[j], c.scores[j]});
        const evaluation::Report report = evaluation::buildReport(e);
        std::vector<std::string> rows;
        for (const auto& row : report.rows) {
            std::string text = row.rank + "|" + row.title;
            for (const auto& cell : row.judgeCells)
                text += "|" + cell;
            rows.push_back(text + "|" + row.mean + "|" + (row.mean.empty() ? "" : row.sum) + "|" +
                           row.hint);
        }
        EXPECT_EQ(rows, c.rows) << c.what;
        EXPECT_EQ(report.missing, c.missing) << c.what;
        EXPECT_EQ(report.finalLines, c.finalLines) << c.what;
        EXPECT_EQ(report.provisional(), !c.missing.empty() && c.finalLines.empty()) << c.what;
    }
}

TEST(Ranking, MeanSpreadAndDisagreementCountOnlyTheJudgesWhoRated)
{
    const auto total = [](int points) { return std::optional<Score>(groupScore(points, 0, 0)); };
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

// A mean per visible criterion over the judges whose rating of the picture
// counts, as the picture's mean; the CSV and the window show it.
TEST(Ranking, EachVisibleCriterionHasItsMeanOverTheJudgesWhoCount)
{
    const evaluation::Maxima nines{9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    const auto line = [&](const char* digits) {
        return evaluation::scoreLine(nines, digits).score;
    };
    const std::optional<Score> none;
    Evaluation e = withJudges(
        {// Idee (W1), a hidden W2 and Farbe (T3)
         {line("590000030000000"), line("300000040000000"), line("000000000000000"),
          line("100000000000000")},
         {line("400000020000000"), none, line("260000010000000"), line("900000090000000")},
         {line("040000000000000"), line("200000020000000"), none, none}},
        4);
    e.criteria = {{0, "Idee", 5}, {7, "Farbe", 3}};
    e.decisions.exclusions = {{"p3", "zurückgezogen"}};
    const std::pair<std::string, std::string> expected[] = {
        {"p0", "3,0|1,7"}, // three judges
        {"p1", "2,5|3,0"}, // one without a line
        {"p2", "2,0|1,0"}, // one with all zeros
        {"p3", "|"},       // excluded
    };
    const evaluation::Report report = evaluation::buildReport(e);
    EXPECT_EQ(report.criteria, (std::vector<std::string>{"Idee", "Farbe"}));
    for (const auto& [picture, means] : expected)
        for (const auto& row : report.rows) {
            if (row.title == picture) {
                EXPECT_EQ(row.criterionMeans.at(0) + "|" + row.criterionMeans.at(1), means)
                    << picture;
            }
        }
    std::vector<std::string> headings;
    for (const auto& column : evaluation::reportColumns(report, evaluation::Output::Window))
        if (column.shows == evaluation::Shows::CriterionMean)
            headings.push_back(column.heading);
    EXPECT_EQ(headings, (std::vector<std::string>{"Idee (Mittel)", "Farbe (Mittel)"}));
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

// Of each kind the first twenty, then how many more, where the next one was.
TEST(Ranking, ProblemsOfOneKindAreListedUpToTwenty)
{
    std::vector<evaluation::Problem> problems;
    problems.reserve(46);
    for (int i = 0; i < 45; ++i)
        problems.push_back(
            {evaluation::ProblemKind::EntrantList, "", 0, "", "E" + std::to_string(i)});
    problems.insert(problems.begin() + 30, {evaluation::ProblemKind::NoLine, "", 0, "", "N"});
    const std::vector<std::string> listed = evaluation::listedProblems(problems);
    ASSERT_EQ(listed.size(), 22u);
    EXPECT_EQ(listed[19], "E19");
    EXPECT_EQ(listed[20], "… und 25 weitere");
    EXPECT_EQ(listed[21], "N");
}

} // namespace
