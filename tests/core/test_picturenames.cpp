#include "core/PictureNames.h"
#include "core/RatingSheet.h"
#include "pictures/NameKey.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureNames, ALineNamesThePictureItsNamePartIsWrittenAs)
{
    const std::vector<std::string> pictures{"a.jpg",
                                            "B.JPG",
                                            "nl\nin\r\nname.jpg",
                                            "q?.jpg",
                                            "q\n.jpg",
                                            "x-y.jpg",
                                            "\303\234ber.jpg", // octal: Ü in UTF-8
                                            "Ma\303\261ana.jpg",
                                            "o.jpg",
                                            "O.jpg",
                                            "\xDF.jpg"};
    const rating::PictureNames names(pictures, pictures::nameKey);
    const struct {
        std::string line;
        std::optional<std::size_t> picture;
        std::vector<std::size_t> alike = {};
    } cases[] = {
        {"000000000000000-a.jpg", 0},
        {"123456789012345-B.JPG", 1},
        {"000000000000000-b.jpg", 1}, // another letter case
        {"000000000000000-A.JPG", 0},
        {"000000000000000-\xDC"
         "ber.jpg",
         6}, // Windows-1252, as Windows PCs write
        {"000000000000000-\xC3\xBC"
         "BER.jpg",
         6}, // UTF-8, another case
        {"000000000000000-U\xCC\x88"
         "ber.jpg",
         6}, // decomposed, as a Mac writes
        {"000000000000000-man\xCC\x83"
         "ana.JPG",
         7}, // decomposed and another case
        {"000000000000000-\xF1"
         "ana.jpg",
         std::nullopt},               // a letter less still differs
        {"000000000000000-o.jpg", 8}, // as written comes first
        {"000000000000000-O.jpg", 9},
        {"000000000000000-o.JPG", std::nullopt, {8, 9}}, // two pictures alike: neither
        {"000000000000000-\xC3\x9F.jpg", 10},            // a non-UTF-8 name on disk
        {"000000000000000-SS.jpg", 10},                  // sharp s folds to ss
        {"000000000000000-a.jpg ", std::nullopt},
        {"000000000000000-nl?in??name.jpg", 2}, // as a line break is written
        {"000000000000000-q?.jpg", 3},          // two written alike: the first
        {"40O001300030000-a.jpg", 0},           // a bad digit still names it
        {"000000000000000+x-y.jpg", 5},         // the sixteenth character is not looked at
        {"00000-a.jpg", std::nullopt},          // short line: no name part
        {"000000000000000-", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const rating::NameMatch match = names.match(c.line);
        EXPECT_EQ(match.picture, c.picture) << c.line;
        EXPECT_EQ(match.alike, c.alike) << c.line;
    }
    EXPECT_EQ(rating::namePart("000000000000000-nl?x.jpg"), "nl?x.jpg");
    EXPECT_EQ(rating::namePart("0000000000000000"), "");
}

TEST(PictureNames, AFreshLineNamesItsPicture)
{
    const std::vector<std::string> pictures{"a.jpg", "nl\nin\r\nname.jpg", "b.jpg"};
    const rating::PictureNames names(pictures, pictures::nameKey);
    const rating::Sheet sheet = rating::freshSheet(pictures);
    for (std::size_t i = 0; i < pictures.size(); ++i)
        EXPECT_EQ(names.pictureNamedBy(sheet[i]), i) << sheet[i];
}

} // namespace
