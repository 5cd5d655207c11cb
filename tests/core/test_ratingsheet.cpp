#include "core/Failure.h"
#include "core/RatingSheet.h"

#include <gtest/gtest.h>

namespace {

// A board whose every reported change writes back into the sheet, as the
// score update does, and counts the write-backs.
struct Binding {
    ScoreBoard board;
    rating::Sheet sheet;
    int index = 0;
    int writeBacks = 0;

    explicit Binding(const std::string& maxima, rating::Sheet lines = {}) : sheet(std::move(lines))
    {
        for (int n = 0; n < kCriterionCount; ++n)
            board.setMaximum(n, maxima[static_cast<std::size_t>(n)] - '0');
        board.setChangeHandler([this] {
            ++writeBacks;
            rating::bewerten(sheet, index, board);
        });
    }
    std::string positions() const
    {
        std::string digits;
        for (int n = 0; n < kCriterionCount; ++n)
            digits += static_cast<char>('0' + board.position(n));
        return digits;
    }
};

TEST(RatingSheet, FreshSheetHasOneZeroLinePerPicture)
{
    EXPECT_EQ(rating::freshSheet({"b.jpg", "a b.JPG", "nl\nin\r\nname.jpg"}),
              (rating::Sheet{"000000000000000-b.jpg", "000000000000000-a b.JPG",
                             "000000000000000-nl?in??name.jpg"}));
    EXPECT_TRUE(rating::freshSheet({}).empty());
}

TEST(RatingSheet, ExtendsAShortSheetToThePictures)
{
    rating::Sheet sheet{"123-x"};
    rating::extendToPictures(sheet, {"a.jpg", "b.jpg", "c.jpg"});
    EXPECT_EQ(sheet, (rating::Sheet{"123-x", "000000000000000-b.jpg", "000000000000000-c.jpg"}));
    rating::Sheet longer{"1", "2", "3"};
    rating::extendToPictures(longer, {"a.jpg"});
    EXPECT_EQ(longer.size(), 3u) << "surplus lines stay";
}

TEST(ScoreTexts, AreThePanelsTexts)
{
    EXPECT_EQ(rating::valueLabel(3, 5), "3/5");
    EXPECT_EQ(rating::pointsText(7, 25), "7 / 25 Punkte");
    EXPECT_EQ(rating::pointsText(0, 0), "0 / 0 Punkte");

    ScoreBoard board;
    for (int n = 0; n < kCriterionCount; ++n)
        board.setMaximum(n, 9);
    board.setPosition(1, 3);  // W2
    board.setPosition(6, 4);  // T2
    board.setPosition(14, 9); // B5
    const auto texts = rating::scoreTexts(board, 45, 44, 43, 132);
    EXPECT_EQ(texts.valueLabels[1], "3/9");
    EXPECT_EQ(texts.valueLabels[0], "0/9");
    EXPECT_EQ(texts.W, "3 / 45 Punkte");
    EXPECT_EQ(texts.T, "4 / 44 Punkte");
    EXPECT_EQ(texts.B, "9 / 43 Punkte");
    EXPECT_EQ(texts.Total, "16 / 132 Punkte");
}

TEST(ScoreBoard, ReportsProgrammaticSetsOnlyOnRealChange)
{
    ScoreBoard board;
    int reports = 0;
    board.setChangeHandler([&] { ++reports; });
    board.setMaximum(0, 5);
    const struct {
        int set;
        int position;
        int reports;
    } steps[] = {{3, 3, 1}, {3, 3, 1}, {9, 5, 2}, {7, 5, 2}, {-1, 0, 3}};
    for (const auto& s : steps) {
        board.setPosition(0, s.set);
        EXPECT_EQ(board.position(0), s.position);
        EXPECT_EQ(reports, s.reports);
    }
    board.operate(0, 0);
    EXPECT_EQ(reports, 4) << "the judge's own operation always reports";
    board.setPosition(0, 4);
    board.setMaximum(0, 2);
    EXPECT_EQ(board.position(0), 2) << "a lower maximum clamps the position";
    EXPECT_EQ(reports, 6);
}

TEST(WriteBack, ChangesOnlyTheDigitOfTheMovedSlider)
{
    Binding b("555555555555555", {"012345012345012-bild.jpg"});
    rating::QelRefresh(b.sheet, 0, b.board);
    b.board.operate(1, 3);
    EXPECT_EQ(b.sheet[0], "032345012345012-bild.jpg");
}

TEST(WriteBack, ExtendsAShortLineToFifteenDigits)
{
    Binding b("999999999999999", {"12"});
    b.board.operate(4, 7);
    EXPECT_EQ(b.sheet[0], "000070000000000");
}

struct RefreshCase {
    const char* name;
    const char* maxima;
    std::string line;
    std::string before;    // slider positions before the refresh
    std::string positions; // after
    std::string lineAfter;
    int writeBacks;
};

class Refresh : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(Refresh, SetsSlidersFromTheLineReadOnce)
{
    const auto& c = GetParam();
    Binding b(c.maxima, {c.line});
    for (int n = 0; n < kCriterionCount; ++n)
        b.board.setPosition(n, c.before[static_cast<std::size_t>(n)] - '0');
    b.sheet[0] = c.line; // the setup's write-backs do not count
    b.writeBacks = 0;
    rating::QelRefresh(b.sheet, 0, b.board);
    EXPECT_EQ(b.positions(), c.positions);
    EXPECT_EQ(b.sheet[0], c.lineAfter);
    EXPECT_EQ(b.writeBacks, c.writeBacks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refresh,
    ::testing::Values(RefreshCase{"allChange", "999999999999999", "123456789123456-a.jpg",
                                  "000000000000000", "123456789123456", "123456789123456-a.jpg",
                                  15},
                      RefreshCase{"noChangeNoWrite", "999999999999999", "100000000000001-a.jpg",
                                  "100000000000001", "100000000000001", "100000000000001-a.jpg", 0},
                      RefreshCase{"overRangeKeptWhenNothingChanges", "555555555555555",
                                  "900000000000000-a.jpg", "500000000000000", "500000000000000",
                                  "900000000000000-a.jpg", 0},
                      RefreshCase{"overRangeClampedWhenSomethingChanges", "555555555555555",
                                  "900000000000001-a.jpg", "500000000000000", "500000000000001",
                                  "500000000000001-a.jpg", 1},
                      RefreshCase{"clampedThenLaterChange", "333333333333333", "910000000000000-x",
                                  "000000000000000", "310000000000000", "310000000000000-x", 2},
                      RefreshCase{"shortLineSetsTheRestToZero", "999999999999999", "12",
                                  "555555555555555", "120000000000000", "120000000000000", 15},
                      RefreshCase{"emptyLine", "999999999999999", "", "000000000000000",
                                  "000000000000000", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Refresh, MissingLineChangesNothing)
{
    Binding b("999999999999999", {"123456789123456-a.jpg"});
    b.index = 1;
    try {
        rating::QelRefresh(b.sheet, 1, b.board);
        FAIL() << "expected a failure";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "Listenindex überschreitet das Maximum (1)");
    }
    EXPECT_EQ(b.positions(), "000000000000000");
    EXPECT_EQ(b.writeBacks, 0);
}

TEST(Refresh, NonDigitShowsZeroFromItOnAndKeepsTheLineAsStored)
{
    const struct {
        std::string line;
        std::string shown;
        std::string positions;
    } cases[] = {
        {"12x456789123456-a.jpg", "x", "120000000000000"},
        {"00 000000000000-a.jpg", " ", "000000000000000"},
        {"40O001300030000-b.jpg", "O", "400000000000000"},
        {"3\xe4"
         "0000000000000-a.jpg",
         "\xc3\xa4", "300000000000000"},
    };
    for (const auto& c : cases) {
        Binding b("999999999999999", {c.line});
        for (int n = 0; n < kCriterionCount; ++n)
            b.board.setPosition(n, 5); // the previous picture's values
        b.sheet[0] = c.line;
        try {
            rating::QelRefresh(b.sheet, 0, b.board);
            ADD_FAILURE() << "expected a failure for " << c.line;
        } catch (const Failure& f) {
            EXPECT_EQ(generalErrorText(f.what()),
                      "'" + c.shown + "' ist kein gültiger Integerwert.");
        }
        EXPECT_EQ(b.positions(), c.positions);
        EXPECT_EQ(b.sheet[0], c.line);
        b.board.operate(3, 2);
        EXPECT_EQ(b.sheet[0],
                  c.positions.substr(0, 3) + "2" + c.positions.substr(4) + c.line.substr(15))
            << "the judge's move writes the sliders";
    }
}

TEST(WriteBack, MissingLineFailsAndLeavesTheSheet)
{
    Binding b("999999999999999");
    EXPECT_THROW(b.board.operate(0, 3), Failure);
    EXPECT_TRUE(b.sheet.empty());
    EXPECT_EQ(b.board.position(0), 3);
}

TEST(HiddenCriteria, CountInTheirGroupSum)
{
    ScoreBoard board;
    board.setMaximum(5, 0);
    board.setMaximum(6, 4);
    board.setPosition(6, 4);
    EXPECT_EQ(board.groupSum(Group::Technik), 4);
    EXPECT_EQ(board.groupMaximum(Group::Technik), 4);
}

TEST(GeneralErrorText, AppendsAFullStopAfterLettersAndDigits)
{
    const std::pair<std::string, std::string> cases[] = {
        {"JPEG-Fehler #27", "JPEG-Fehler #27."},
        {"Listenindex überschreitet das Maximum (3)", "Listenindex überschreitet das Maximum (3)"},
        {"Ende.", "Ende."},
        {"Frage?", "Frage?."}, // "?" sorts above "."
        {"a/b", "a/b."},
        {"", ""},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(generalErrorText(text), shown);
}

TEST(DisplayText, KeepsUtf8AndReadsOtherBytesAsWindows1252)
{
    EXPECT_EQ(displayText("Sch\xc3\xa4rfe"), "Sch\xc3\xa4rfe");
    EXPECT_EQ(displayText("Sch\xe4rfe"), "Sch\xc3\xa4rfe");
    EXPECT_EQ(displayText("\x80"), "\xe2\x82\xac");
    EXPECT_EQ(displayText("\xc3"), "\xc3\x83") << "a cut UTF-8 sequence is not UTF-8";
}

} // namespace
