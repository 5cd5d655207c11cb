#include "core/PictureNames.h"
#include "core/RatingSheet.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureNames, ALineNamesThePictureItsNamePartIsWrittenAs)
{
    const rating::PictureNames names(
        {"a.jpg", "B.JPG", "nl\nin\r\nname.jpg", "q?.jpg", "q\n.jpg", "x-y.jpg"});
    const struct {
        std::string line;
        std::optional<std::size_t> picture;
    } cases[] = {
        {"000000000000000-a.jpg", 0},
        {"123456789012345-B.JPG", 1},
        {"000000000000000-b.jpg", std::nullopt}, // case counts
        {"000000000000000-a.jpg ", std::nullopt},
        {"000000000000000-nl?in??name.jpg", 2}, // as a line break is written
        {"000000000000000-q?.jpg", 3},          // two written alike: the first
        {"40O001300030000-a.jpg", 0},           // a bad digit still names it
        {"000000000000000+x-y.jpg", 5},         // the sixteenth character is not looked at
        {"00000-a.jpg", std::nullopt},          // short line: no name part
        {"000000000000000-", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names.pictureNamedBy(c.line), c.picture) << c.line;
    EXPECT_EQ(rating::namePart("000000000000000-nl?x.jpg"), "nl?x.jpg");
    EXPECT_EQ(rating::namePart("0000000000000000"), "");
}

TEST(PictureNames, AFreshLineNamesItsPicture)
{
    const std::vector<std::string> pictures{"a.jpg", "nl\nin\r\nname.jpg", "b.jpg"};
    const rating::PictureNames names(pictures);
    const rating::Sheet sheet = rating::freshSheet(pictures);
    for (std::size_t i = 0; i < pictures.size(); ++i)
        EXPECT_EQ(names.pictureNamedBy(sheet[i]), i) << sheet[i];
}

} // namespace
