#include "evaluation/Scores.h"
#include "evaluation/ranking/Authors.h"
#include "evaluation/ranking/Report.h"
#include "evaluation/ranking/Season.h"

#include <gtest/gtest.h>

namespace {

using evaluation::AuthorPicture;
using evaluation::Points;

// "2.|Anna Berg|2|6,0|3,0" per author.
std::vector<std::string> shown(const std::vector<evaluation::AuthorRow>& rows)
{
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const auto& row : rows)
        lines.push_back(row.rank + "|" + row.author + "|" + std::to_string(row.pictures) + "|" +
                        row.sumText + "|" + row.bestText);
    return lines;
}

TEST(Authors, RankedBySumThenBestPictureThenShared)
{
    const auto P = [](const char* author, long long points, long long judges) {
        return AuthorPicture{author, Points{points, judges}};
    };
    struct Case {
        const char* what;
        std::vector<AuthorPicture> pictures;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"the sum first",
         {P("Bert Kurz", 4, 1), P("Anna Berg", 3, 1), P("Anna Berg", 3, 1)},
         {"1.|Anna Berg|2|6,0|3,0", "2.|Bert Kurz|1|4,0|4,0"}},
        {"an equal sum: the best picture decides",
         {P("A", 3, 1), P("A", 3, 1), P("B", 2, 1), P("B", 4, 1)},
         {"1.|B|2|6,0|4,0", "2.|A|2|6,0|3,0"}},
        {"equal in both: a shared place, the next one skipped",
         {P("A", 3, 1), P("B", 3, 1), P("C", 1, 1)},
         {"1.|A|1|3,0|3,0", "1.|B|1|3,0|3,0", "3.|C|1|1,0|1,0"}},
        {"thirds add up exactly",
         {P("A", 10, 3), P("A", 10, 3), P("A", 10, 3), P("B", 10, 1)},
         {"1.|B|1|10,0|10,0", "2.|A|3|10,0|3,3"}},
        {"one author however written; pictures without an author left out",
         {P("Anna Berg", 3, 1), P(" anna BERG ", 2, 1), P("", 9, 1)},
         {"1.|Anna Berg|2|5,0|3,0"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shown(evaluation::rankAuthors(c.pictures)), c.rows) << c.what;
}

TEST(Authors, AJudgeDoesNotScoreTheirOwnPictures)
{
    evaluation::Evaluation e;
    e.pictures = {"a.jpg", "b.jpg"};
    e.entrants = {{"Abend", "Anna Berg"}, {"Hafen", "Bert Kurz"}};
    e.judges = {{"anna berg", {groupScore(5, 0, 0), groupScore(4, 0, 0)}},
                {"Jo", {groupScore(3, 0, 0), groupScore(4, 0, 0)}}};
    e.maxTotal = 20;
    evaluation::leaveOutOwnPictures(e);
    const evaluation::Report report = evaluation::buildReport(e);
    ASSERT_EQ(report.rows.size(), 2u);
    EXPECT_EQ(report.rows[1].mean, "3,0"); // Jo's alone
    EXPECT_EQ(report.rows[1].hint, "");
    EXPECT_FALSE(report.provisional());
    EXPECT_EQ(report.ownPicturesNote, "eigene Bilder nicht gewertet: Anna Berg");
}

TEST(Season, Rules)
{
    const auto P = [](const char* author, long long points) {
        return AuthorPicture{author, Points{points, 1}};
    };
    std::vector<evaluation::SeasonCompetition> competitions;
    for (const auto& pictures :
         {std::vector{P("Anna Berg", 3), P("Anna Berg", 3), P("Bert Kurz", 4), P("Carla Roth", 2)},
          std::vector{P("anna berg", 1), P("Bert Kurz", 2)},
          std::vector{P("Anna Berg", 3), P("Bert Kurz", 3)}})
        competitions.push_back({"W", pictures, evaluation::rankAuthors(pictures)});
    struct Case {
        const char* rule;
        std::vector<std::string> rows; // rank, author, per competition, total
    };
    const Case cases[] = {
        {"",
         {"1.|Anna Berg|6,0|1,0|3,0|10,0", "2.|Bert Kurz|4,0|2,0|3,0|9,0",
          "3.|Carla Roth|2,0|||2,0"}},
        {"beste:1",
         {"1.|Bert Kurz|4,0|0,0|0,0|4,0", "2.|Anna Berg|3,0|0,0|0,0|3,0",
          "3.|Carla Roth|2,0|||2,0"}},
        {"beste:2",
         {"1.|Bert Kurz|4,0|0,0|3,0|7,0", "2.|Anna Berg|6,0|0,0|0,0|6,0",
          "3.|Carla Roth|2,0|||2,0"}},
        // Places in each competition's authors' ranking; equal there, equal points.
        {"plaetze:10,8,6+1",
         {"1.|Anna Berg|11|9|11|31", "1.|Bert Kurz|9|11|11|31", "3.|Carla Roth|7|||7"}},
        {"plaetze:10",
         {"1.|Anna Berg|10|0|10|20", "1.|Bert Kurz|0|10|10|20", "3.|Carla Roth|0|||0"}},
    };
    for (const Case& c : cases) {
        const auto rule = evaluation::parseSeasonRule(c.rule);
        ASSERT_TRUE(rule) << c.rule;
        std::vector<std::string> rows;
        for (const auto& row : evaluation::rankSeason(competitions, *rule).rows) {
            std::string line = row.rank + "|" + row.author;
            for (const std::string& cell : row.cells)
                line += "|" + cell;
            rows.push_back(line + "|" + row.totalText);
        }
        rows.resize(std::min(rows.size(), c.rows.size()));
        EXPECT_EQ(rows, c.rows) << c.rule;
    }
    for (const char* wrong : {"beste:0", "beste:", "beste:2x", "plaetze:", "plaetze:10,,6",
                              "plaetze:10+", "plaetze:-1", "alles"})
        EXPECT_FALSE(evaluation::parseSeasonRule(wrong)) << wrong;
}

} // namespace
