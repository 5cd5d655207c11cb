#include "evaluation/ranking/Evaluation.h"

#include <gtest/gtest.h>

namespace {

using evaluation::Maxima;

const Maxima kNines{9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
const std::vector<std::string> kPictures{"a.jpg", "b.jpg", "c.jpg", "d.jpg"};

// A line whose total is `points` (first digit), naming `name`.
std::string line(int points, const std::string& name)
{
    return std::to_string(points) + "00000000000000-" + name;
}

TEST(Matching, LinesGoToThePictureTheyNameAndEverythingElseIsReported)
{
    constexpr int kNotRated = -1;
    struct Case {
        const char* what;
        rating::Sheet lines;
        std::vector<int> totals; // per picture
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"shifted lines",
         {line(4, "d.jpg"), line(1, "a.jpg"), line(3, "c.jpg"), line(2, "b.jpg")},
         {1, 2, 3, 4},
         {}},
        {"missing and surplus lines",
         {line(1, "a.jpg"), line(9, "x.jpg"), line(3, "c.jpg")},
         {1, kNotRated, 3, kNotRated},
         {"Jo, Zeile 2: kein Bild 'x.jpg' im Ordner – Zeile nicht gewertet",
          "Jo: keine Zeile für 'b.jpg' – nicht bewertet",
          "Jo: keine Zeile für 'd.jpg' – nicht bewertet"}},
        {"renamed picture",
         {line(1, "a.jpg"), line(2, "b-alt.jpg"), line(3, "c.jpg"), line(4, "d.jpg")},
         {1, kNotRated, 3, 4},
         {"Jo, Zeile 2: kein Bild 'b-alt.jpg' im Ordner – Zeile nicht gewertet",
          "Jo: keine Zeile für 'b.jpg' – nicht bewertet"}},
        {"letter in a line",
         {line(1, "a.jpg"), "2x0000000000000-b.jpg", line(3, "c.jpg"), line(4, "d.jpg")},
         {1, kNotRated, 3, 4},
         {"Jo, Zeile 2 (Bild 'b.jpg'): das Zeichen 'x' ist keine Ziffer – Zeile nicht gewertet"}},
        {"repeated line, line without a name, all zeros",
         {line(1, "a.jpg"), line(5, "a.jpg"), line(2, "b.jpg"), "300000000000000-",
          line(0, "c.jpg"), line(4, "d.jpg")},
         {1, 2, 0, 4},
         {"Jo, Zeile 2: 'a.jpg' steht schon in Zeile 1 – Zeile nicht gewertet",
          "Jo, Zeile 4: kein Dateiname – Zeile nicht gewertet",
          "Jo, Zeile 5: 'c.jpg': alle Kriterien 0 – zählt als nicht bewertet"}},
        {"names from another PC: letter case counts not, a space does",
         {line(1, "A.jpg"), line(2, "b.jpg "), line(3, "c.JPG"), line(4, "d.jpg")},
         {1, kNotRated, 3, 4},
         {"Jo, Zeile 2: kein Bild 'b.jpg ' im Ordner – Zeile nicht gewertet",
          "Jo: keine Zeile für 'b.jpg' – nicht bewertet"}},
    };
    for (const Case& c : cases) {
        std::vector<evaluation::Problem> found;
        const evaluation::Judge judge =
            evaluation::matchJudge("Jo", c.lines, kPictures, kNines, found);
        std::vector<std::string> problems;
        problems.reserve(found.size());
        for (const auto& problem : found)
            problems.push_back(problem.text);
        std::vector<int> totals;
        for (const auto& score : judge.scores)
            totals.push_back(score ? score->total() : kNotRated);
        EXPECT_EQ(totals, c.totals) << c.what;
        EXPECT_EQ(problems, c.problems) << c.what;
    }
    // The judging program writes a line break in a name as "?".
    std::vector<evaluation::Problem> problems;
    const evaluation::Judge judge =
        evaluation::matchJudge("Jo", {line(7, "a?b.jpg")}, {"a\nb.jpg"}, kNines, problems);
    EXPECT_TRUE(judge.scores[0]);
    EXPECT_TRUE(problems.empty()) << problems[0].text;
    // Windows-1252 from an older PC; a name two pictures share but for the case.
    const evaluation::Judge other =
        evaluation::matchJudge("Jo", {line(7, "\xDC.jpg"), line(5, "O.JPG")},
                               {"\xC3\x9C.jpg", "o.jpg", "O.jpg"}, kNines, problems);
    EXPECT_EQ(other.scores[0]->total(), 7);
    EXPECT_FALSE(other.scores[1] || other.scores[2]);
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].text, "Jo, Zeile 2: 'O.JPG' passt zu mehreren Bildern ('o.jpg', 'O.jpg') "
                                "– Zeile nicht gewertet");
}

// Names that are not UTF-8 show as every program shows a file name (read as
// Windows-1252, as the PC that wrote them meant).
TEST(Matching, ProblemsNameJudgeLineAndPictureAsEveryProgramShowsThem)
{
    using evaluation::ProblemKind;
    std::vector<evaluation::Problem> problems;
    evaluation::matchJudge("J\xfcrgen", {line(1, "\xe4.jpg"), line(0, "\xe4.jpg"), "1x"},
                           {"\xe4.jpg", "b.jpg"}, kNines, problems);
    ASSERT_EQ(problems.size(), 3u);
    const std::tuple<ProblemKind, std::size_t, std::string> expected[] = {
        {ProblemKind::LineLeftOut, 2, "\xC3\xA4.jpg"},
        {ProblemKind::LineLeftOut, 3, ""},
        {ProblemKind::NoLine, 0, "b.jpg"}};
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(problems[i].judge, "J\xC3\xBCrgen") << i;
        EXPECT_EQ(
            std::tie(problems[i].kind, problems[i].line, problems[i].picture),
            std::tie(std::get<0>(expected[i]), std::get<1>(expected[i]), std::get<2>(expected[i])))
            << i << ": " << problems[i].text;
    }
    EXPECT_EQ(problems[2].text, "J\xC3\xBCrgen: keine Zeile für 'b.jpg' – nicht bewertet");
}

} // namespace
