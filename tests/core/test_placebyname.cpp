#include "core/Messages.h"
#include "core/PlaceByName.h"
#include "pictures/NameKey.h"

#include <gtest/gtest.h>

namespace {

// A line whose digits start with `digits`.
std::string line(std::string digits, const std::string& name)
{
    digits.resize(15, '0');
    return digits + "-" + name;
}

TEST(PlaceByName, PutsEachLineAtThePictureItNames)
{
    const std::vector<std::string> abc{"a.jpg", "b.jpg", "c.jpg"};
    const struct {
        const char* name;
        std::vector<std::string> pictures;
        rating::Sheet lines;
        rating::Sheet placed; // empty: left as loaded
        std::size_t moved, kept, added;
        std::vector<std::size_t> alikeLines = {};
        std::vector<std::size_t> twiceLines = {};
    } cases[] = {
        {"inOrder", abc, {line("1", "a.jpg"), "", line("3", "c.jpg")}, {}, 0, 0, 0},
        {"shortFile", abc, {line("1", "a.jpg")}, {}, 0, 0, 0},
        {"surplusNamingNothing",
         {"a.jpg"},
         {line("1", "a.jpg"), line("2", "x.jpg"), "7"},
         {},
         0,
         0,
         0},
        {"lateEntry",
         {"a.jpg", "ab.jpg", "b.jpg", "c.jpg"},
         {line("1", "a.jpg"), line("2", "b.jpg"), line("3", "c.jpg")},
         {line("1", "a.jpg"), line("0", "ab.jpg"), line("2", "b.jpg"), line("3", "c.jpg")},
         2,
         0,
         1},
        {"renamed",
         abc,
         {line("1", "a.jpg"), line("2", "B-neu.jpg"), line("3", "c.jpg")},
         {line("1", "a.jpg"), line("0", "b.jpg"), line("3", "c.jpg"), line("2", "B-neu.jpg")},
         0,
         1,
         1},
        {"swappedAndRepeated",
         abc,
         {line("2", "b.jpg"), line("1", "a.jpg"), line("9", "a.jpg"), line("3", "c.jpg")},
         {line("1", "a.jpg"), line("2", "b.jpg"), line("3", "c.jpg"), line("9", "a.jpg")},
         3,
         1,
         0,
         {},
         {2}},
        {"namelessLinesStay",
         abc,
         {line("3", "c.jpg"), "12", line("1", "a.jpg"), "0000000000000000"},
         {line("1", "a.jpg"), "12", line("3", "c.jpg"), "0000000000000000"},
         2,
         1,
         0},
        {"lineBreakWrittenAsQuestionMark",
         {"a\nb.jpg", "c.jpg"},
         {line("3", "c.jpg"), line("1", "a?b.jpg")},
         {line("1", "a?b.jpg"), line("3", "c.jpg")},
         2,
         0,
         0},
        {"writtenOnAnotherPc", // Windows-1252, other letter case: each at its own picture
         {"a.jpg", "B.jpg",
          "\xC3\x9C"
          "ber.jpg"},
         {line("1", "A.jpg"), line("2", "b.jpg"),
          line("3", "\xDC"
                    "ber.jpg")},
         {},
         0,
         0,
         0},
        {"namesTwoPicturesAlike",
         {"o.jpg", "O.jpg", "p.jpg"},
         {line("1", "o.JPG"), line("2", "P.JPG")},
         {line("0", "o.jpg"), line("0", "O.jpg"), line("2", "P.JPG"), line("1", "o.JPG")},
         1,
         1,
         2,
         {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto placement = rating::placeByName(c.lines, c.pictures, pictures::nameKey);
        if (c.placed.empty()) {
            EXPECT_FALSE(placement.has_value());
            continue;
        }
        ASSERT_TRUE(placement.has_value());
        EXPECT_EQ(placement->sheet, c.placed);
        EXPECT_EQ(placement->moved, c.moved);
        EXPECT_EQ(placement->kept, c.kept);
        EXPECT_EQ(placement->added, c.added);
        EXPECT_EQ(placement->addedPictures.size(), c.added);
        EXPECT_EQ(placement->keptLines.size(), c.kept);
        EXPECT_EQ(placement->alikeLines, c.alikeLines);
        EXPECT_EQ(placement->twiceLines, c.twiceLines);
    }
}

TEST(PlaceByName, TheBoxCountsWhatHappened)
{
    EXPECT_EQ(messages::placedByName(3, 1, 0, 0),
              "Die Bewertung wurde den Bildern nach Dateinamen zugeordnet: 3 Zeilen verschoben, 1 "
              "Zeile ohne passendes Bild behalten.");
    EXPECT_EQ(messages::placedByName(1, 0, 2, 2),
              "Die Bewertung wurde den Bildern nach Dateinamen zugeordnet: 1 Zeile verschoben, 2 "
              "doppelte Zeilen behalten, 2 leere Zeilen für Bilder ohne Zeile angelegt.");
    EXPECT_EQ(messages::placedByName(0, 2, 1, 1),
              "Die Bewertung wurde geladen: 2 Zeilen ohne passendes Bild behalten, 1 doppelte "
              "Zeile behalten, 1 leere Zeile für ein Bild ohne Zeile angelegt.");
}

} // namespace
