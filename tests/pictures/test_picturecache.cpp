#include "pictures/PictureCache.h"

#include "JpegFixtures.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace fixtures;
using pictures::Picture;
using pictures::PictureCache;

namespace {

// Picture i is 40 + i pixels wide; a failed one is the 500-pixel placeholder.
char slotName(const Picture& picture)
{
    if (picture.width() == 0)
        return '-';
    return picture.width() == 500 ? 'x' : static_cast<char>('0' + picture.width() - 40);
}

struct CacheCase {
    const char* name;
    int count;
    std::set<int> broken;
    // F: first-picture tick, T: preload tick, > and <: moves.
    const char* steps;
    const char* slots; // backTemp, Bild, ForwardTemp afterwards
    const char* loads; // every picture read, in order
    const char* failures;
};

const CacheCase kCases[] = {
    {"firstTick", 3, {}, "F", "-00", "0", ""},
    {"movesReadNothing", 3, {}, "FT>", "011", "01", ""},
    {"preloadFillsTheFarSide", 3, {}, "FT>T", "012", "012", ""},
    {"backTakesTheSlotBehind", 3, {}, "FT>T<", "001", "012", ""},
    {"backPreloadsTheFarSide", 4, {}, "FT>T>T<T", "012", "01230", ""},
    {"moveBeforeItsPreloadLoadsAtOnce", 4, {}, "F>>", "122", "012", ""},
    {"moveBeforeTheFirstTick", 3, {}, ">F", "-11", "1", ""},
    {"lastPictureWantsNoPreload", 2, {}, "FT>T", "011", "01", ""},
    {"brokenFirstPicture", 2, {0}, "FT", "-x1", "01", "0"},
    {"placeholderTravelsUnread", 4, {1}, "FT>T>", "x22", "012", "1"},
    {"placeholderReadAgainWarnsAgain", 4, {1}, "FT>T>T>T<T", "x23", "01231", "11"},
};

class Cache : public testing::TestWithParam<CacheCase> {
  protected:
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        for (int i = 0; i < 5; ++i) {
            JpegOptions o;
            o.width = 40 + i;
            files.push_back(dir->write(std::to_string(i) + ".jpg", makeJpeg(o)));
        }
    }
    static void TearDownTestSuite() { delete dir; }
    static inline TempDir* dir = nullptr;
    static inline std::vector<std::string> files;
};

TEST_P(Cache, FollowsTheLoadRules)
{
    const CacheCase& c = GetParam();
    int current = 0;
    const auto hasNext = [&] { return current < c.count - 1; };
    std::string loads, failures;
    PictureCache cache([&](int index) {
        loads += static_cast<char>('0' + index);
        if (c.broken.count(index))
            throw pictures::LoadFailure("unreadable");
        return Picture::load(files.at(static_cast<std::size_t>(index)));
    });
    const auto failed = [&](int index) { failures += static_cast<char>('0' + index); };
    for (const char* step = c.steps; *step; ++step) {
        switch (*step) {
        case 'F':
            EXPECT_EQ(cache.showFirst(current, c.count, failed), hasNext());
            EXPECT_EQ(cache.loadsForward(), hasNext());
            break;
        case 'T':
            cache.preload(current, c.count, failed);
            EXPECT_FALSE(cache.loadsForward() || cache.loadsBack());
            break;
        case '>':
            ++current;
            EXPECT_EQ(cache.forward(current, c.count, failed), hasNext());
            EXPECT_EQ(cache.loadsForward(), hasNext());
            break;
        case '<':
            --current;
            EXPECT_EQ(cache.back(current, c.count, failed), current != 0);
            EXPECT_EQ(cache.loadsBack(), current != 0);
            break;
        }
        EXPECT_TRUE(cache.showsCurrent(current)) << "after " << *step;
    }
    const std::string slots{slotName(cache.backTemp()), slotName(cache.Bild()),
                            slotName(cache.ForwardTemp())};
    EXPECT_EQ(slots, c.slots);
    EXPECT_EQ(loads, c.loads);
    EXPECT_EQ(failures, c.failures);
}

INSTANTIATE_TEST_SUITE_P(Steps, Cache, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A move shares holders, never copies a bitmap.
TEST(Cache, MovesShareTheHolders)
{
    const TempDir dir;
    std::vector<std::string> files;
    files.reserve(3);
    for (int i = 0; i < 3; ++i)
        files.push_back(dir.write(std::to_string(i) + ".jpg", makeJpeg({})));
    PictureCache cache([&](int index) { return Picture::load(files.at(index)); });
    const auto ignore = [](int) {};
    cache.showFirst(0, 3, ignore);
    cache.preload(0, 3, ignore);
    const Picture next = cache.ForwardTemp();
    const Picture shown = cache.Bild();
    cache.forward(1, 3, ignore);
    EXPECT_TRUE(cache.Bild().sharesDataWith(next));
    EXPECT_TRUE(cache.backTemp().sharesDataWith(shown));
}

} // namespace
