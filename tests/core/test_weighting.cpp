#include "core/Messages.h"
#include "core/TextEncoding.h"
#include "core/TextFile.h"
#include "core/Weighting.h"

#include <gtest/gtest.h>

namespace {

using Outcome = Weighting::Outcome;

// Fifteen lines "<digit> <description>" with the given maxima.
std::string fileWith(const std::string& maxima, const std::string& lineEnd = "\r\n")
{
    std::string text;
    for (std::size_t n = 0; n < maxima.size(); ++n)
        text += std::string(1, maxima[n]) + " Kriterium " + std::to_string(n + 1) + lineEnd;
    return text;
}

struct OutcomeCase {
    const char* name;
    std::optional<std::string> file;
    Outcome outcome;
    int validMaxima;
    const char* warning; // nullptr: none
};

class WeightingOutcome : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(WeightingOutcome, MatchesTheFailureTable)
{
    const auto& c = GetParam();
    const Weighting w = parseWeighting(c.file);
    EXPECT_EQ(w.outcome, c.outcome);
    EXPECT_EQ(w.validMaxima, c.validMaxima);
    if (c.warning)
        EXPECT_EQ(w.warning(), std::string(c.warning));
    else
        EXPECT_FALSE(w.warning().has_value());
}

const std::string kGood = fileWith("543210987654321");

INSTANTIATE_TEST_SUITE_P(
    Cases, WeightingOutcome,
    ::testing::Values(
        OutcomeCase{"missing", std::nullopt, Outcome::Unreadable, 0, messages::kWeightingNotLoaded},
        OutcomeCase{"empty", "", Outcome::TooShort, 0, messages::kWeightingIncorrect},
        OutcomeCase{"fourteenLines", fileWith("12345123451234"), Outcome::TooShort, 0,
                    messages::kWeightingIncorrect},
        OutcomeCase{"fifteen", kGood, Outcome::Loaded, 15, nullptr},
        OutcomeCase{"lastWithoutBreak", kGood.substr(0, kGood.size() - 2), Outcome::Loaded, 15,
                    nullptr},
        OutcomeCase{"crOnly", fileWith("555555555555555", "\r"), Outcome::Loaded, 15, nullptr},
        OutcomeCase{"utf8ByteOrderMark", "\xEF\xBB\xBF" + kGood, Outcome::Loaded, 15, nullptr},
        OutcomeCase{"sixteenthIgnored", kGood + "x garbage\r\n", Outcome::Loaded, 15, nullptr},
        OutcomeCase{"letterInLine9", fileWith("11111111x111111"), Outcome::BadLine, 8,
                    messages::kWeightingNotLoaded},
        OutcomeCase{"emptyLine1", "\r\n" + fileWith("11111111111111"), Outcome::BadLine, 0,
                    messages::kWeightingNotLoaded},
        OutcomeCase{"nulCutsToShort", kGood.substr(0, 20) + std::string(1, '\0') + kGood,
                    Outcome::TooShort, 0, messages::kWeightingIncorrect},
        OutcomeCase{"binary", std::string("\x89PNG\r\n\x1a\n\x01\x02", 10), Outcome::TooShort, 0,
                    messages::kWeightingIncorrect}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Weighting, AppliesMaximaCaptionsAndHiddenRows)
{
    std::string file;
    const char* lines[] = {"5 Bildwirkung", "7",    "3   ", "0 ",   "9xAbc",
                           "2 T1",          "2 T2", "2 T3", "2 T4", "2 T5",
                           "1 B1",          "1 B2", "1 B3", "1 B4", "4 B&&5"};
    for (const char* line : lines)
        file += std::string(line) + "\n";
    const Weighting w = parseWeighting(file);
    ASSERT_EQ(w.outcome, Outcome::Loaded);
    const struct {
        int n, maximum;
        std::string caption;
        bool visible;
    } expected[] = {
        {0, 5, " Bildwirkung", true}, {1, 7, " ", false},   {2, 3, "   ", true},
        {3, 0, " ", false},           {4, 9, " Abc", true}, {14, 4, " B&&5", true},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.n);
        EXPECT_EQ(w.maxima[e.n], e.maximum);
        EXPECT_EQ(w.rows[e.n].caption, e.caption);
        EXPECT_EQ(w.rows[e.n].visible, e.visible);
    }
}

TEST(Weighting, KeepsOnlyTheLinesItNeedsOfAHugeFile)
{
    std::string huge = kGood;
    huge.append(50u << 20, '\n'); // 50 MB of empty lines
    const Weighting w = parseWeighting(huge);
    EXPECT_EQ(w.outcome, Outcome::Loaded);
}

TEST(Weighting, StopsAtTheFirstBadLineKeepingEarlierMaxima)
{
    const Weighting w = parseWeighting(fileWith("12345678-123456"));
    EXPECT_EQ(w.validMaxima, 8);
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(w.maxima[n], n + 1);
}

// What the organiser sets is written as the judging program reads it:
// Windows-1252, "&" doubled, CR LF, the explanation kept below line 15.
TEST(Weighting, WritesTheSettingsAsTheJudgingProgramReadsThem)
{
    CriterionSettings settings;
    settings[0] = {5, "Licht & Schatten"};
    settings[1] = {12, "Sch\xC3\xA4rfe \xE2\x82\xAC"}; // a maximum above 9 is 9
    settings[14] = {3, ""};
    int bad = 99;
    const auto bytes = weightingFileBytes(settings, {"", "Erkl\xC3\xA4rung & mehr"}, &bad);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bad, 99);
    const std::string start = "5 Licht && Schatten\r\n9 Sch\xE4rfe \x80\r\n0 \r\n0 \r\n";
    const std::string end = "0 \r\n3 \r\n\r\nErkl\xE4rung & mehr\r\n";
    EXPECT_EQ(bytes->substr(0, start.size()), start);
    EXPECT_EQ(bytes->substr(bytes->size() - end.size()), end);

    const Weighting read = parseWeighting(*bytes);
    ASSERT_EQ(read.outcome, Outcome::Loaded);
    EXPECT_EQ(read.rows[0].caption, " Licht && Schatten");
    EXPECT_FALSE(read.rows[14].visible);
    const CriterionSettings back = settingsOf(read);
    EXPECT_EQ(back[0].description, "Licht & Schatten");
    EXPECT_EQ(back[1].description, "Sch\xC3\xA4rfe \xE2\x82\xAC");
    EXPECT_EQ(back[1].maximum, 9);

    const struct {
        int criterion;
        std::string description;
    } unwritable[] = {{3, "\xCE\xA9mega"}, {7, "zwei\nZeilen"}, {14, "\r"}};
    for (const auto& [criterion, description] : unwritable) {
        CriterionSettings withBad = settings;
        withBad[static_cast<std::size_t>(criterion)].description = description;
        EXPECT_FALSE(weightingFileBytes(withBad, {}, &bad));
        EXPECT_EQ(bad, criterion);
    }
    EXPECT_FALSE(weightingFileBytes(settings, {"\xCE\xA9"}, &bad));
    EXPECT_EQ(bad, -1);
}

// The template goes through the settings and back unchanged as shown.
TEST(Weighting, TheTemplateComesBackAsItWasShown)
{
    const std::string path = BB_SOURCE_DIR + std::string("/packaging/vorlage/Qel.max");
    const Weighting original = readWeighting(path);
    ASSERT_EQ(original.outcome, Outcome::Loaded);
    const std::vector<std::string> explanation = weightingExplanation(*textfile::readFile(path));
    ASSERT_GT(explanation.size(), 5u);
    const auto bytes = weightingFileBytes(settingsOf(original), explanation);
    ASSERT_TRUE(bytes);
    const Weighting written = parseWeighting(*bytes);
    EXPECT_EQ(written.maxima, original.maxima);
    for (std::size_t n = 0; n < original.rows.size(); ++n)
        EXPECT_EQ(displayText(written.rows[n].caption), displayText(original.rows[n].caption));
    EXPECT_EQ(weightingExplanation(*bytes), explanation);
}

} // namespace
