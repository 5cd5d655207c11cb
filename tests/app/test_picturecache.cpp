#include "AppFixture.h"

#include "core/Messages.h"

#include <chrono>
#include <thread>

namespace {

using Kind = messagebox::Kind;

class PictureCache : public AppFixture {
  protected:
    // Pictures told apart by their width: picture i is 40 + i pixels wide.
    void startWith(const std::vector<std::string>& names, const std::string& broken = {})
    {
        writeWeighting("999999999999999");
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == broken)
                writeFile(names[i], "Das ist kein Bild.\n");
            else
                writePicture(names[i], 40 + static_cast<int>(i), 30);
        }
        start();
    }
    int shown() { return form->Rahmen()->picture().width(); }
    Message cannotOpen(const char* name)
    {
        return {Kind::Warning, messages::cannotOpenPicture(name)};
    }
};

TEST_F(PictureCache, FirstTickShowsTheFirstPictureAndArmsThePreload)
{
    startWith({"a.jpg", "b.jpg", "c.jpg"});
    EXPECT_EQ(shown(), 0) << "nothing before the first tick";
    controller->FirstPictureTimerTimer();
    EXPECT_EQ(shown(), 40);
    EXPECT_TRUE(form->Rahmen()->isVisibleTo(form.get()));
    EXPECT_FALSE(controller->FirstPictureTimer.isActive());
    EXPECT_TRUE(state.LoadForward);
    EXPECT_TRUE(controller->LoadTimer.isActive());
    EXPECT_EQ(controller->ForwardTemp.width(), 40) << "the same picture until the preload";
    controller->LoadTimerTimer();
    EXPECT_EQ(controller->ForwardTemp.width(), 41);
    EXPECT_FALSE(state.LoadForward);
    EXPECT_FALSE(controller->LoadTimer.isActive());
}

TEST_F(PictureCache, MovesTakeTheCachedNeighbourWithoutReading)
{
    startWith({"a.jpg", "b.jpg", "c.jpg"});
    controller->FirstPictureTimerTimer();
    controller->LoadTimerTimer();
    const pictures::Picture next = controller->ForwardTemp;
    const pictures::Picture current = controller->Bild;
    std::filesystem::remove("b.jpg"); // a move must not need the file
    controller->vor();
    EXPECT_TRUE(controller->Bild.sharesDataWith(next));
    EXPECT_TRUE(controller->backTemp.sharesDataWith(current));
    EXPECT_TRUE(state.LoadForward);
    controller->LoadTimerTimer();
    EXPECT_EQ(controller->ForwardTemp.width(), 42);
    controller->zurueck();
    EXPECT_TRUE(controller->Bild.sharesDataWith(current));
    EXPECT_TRUE(controller->ForwardTemp.sharesDataWith(next));
    EXPECT_TRUE(messages.empty());
}

TEST_F(PictureCache, UnreadableFirstPictureShowsThePlaceholder)
{
    startWith({"a.jpg", "b.jpg"}, "a.jpg");
    controller->FirstPictureTimerTimer();
    EXPECT_EQ(messages, (std::vector<Message>{cannotOpen("a.jpg")}));
    EXPECT_EQ(shown(), 500);
    EXPECT_EQ(form->Rahmen()->picture().height(), 348);
    EXPECT_FALSE(controller->FirstPictureTimer.isActive());
    EXPECT_TRUE(controller->LoadTimer.isActive()) << "picture 1 is still preloaded";
    controller->LoadTimerTimer();
    EXPECT_EQ(controller->ForwardTemp.width(), 41);
}

TEST_F(PictureCache, PlaceholderTravelsAndWarnsOnlyWhenReadAgain)
{
    startWith({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, "b.jpg");
    controller->FirstPictureTimerTimer();
    controller->LoadTimerTimer();
    EXPECT_EQ(messages, (std::vector<Message>{cannotOpen("b.jpg")}));
    EXPECT_FALSE(controller->LoadTimer.isActive());
    controller->vor(); // onto b: the placeholder, with b's name and line
    EXPECT_EQ(shown(), 500);
    EXPECT_EQ(filePanel(), "b.jpg");
    panel().rows[0]->slider()->setValue(4);
    EXPECT_EQ(controller->QelList[1], "400000000000000-b.jpg");
    controller->LoadTimerTimer();
    controller->vor(); // b moves into the back slot without a read
    controller->LoadTimerTimer();
    EXPECT_EQ(messages.size(), 1u);
    controller->zurueck();
    EXPECT_EQ(shown(), 500);
    controller->LoadTimerTimer(); // now a is the far side
    controller->vor();
    controller->LoadTimerTimer();
    controller->vor(); // c -> d: b leaves the cache
    controller->LoadTimerTimer();
    controller->zurueck();
    controller->LoadTimerTimer(); // b is the far side again: read, warned
    EXPECT_EQ(messages, (std::vector<Message>{cannotOpen("b.jpg"), cannotOpen("b.jpg")}));
}

TEST_F(PictureCache, MovesBeforeTheirPreloadStillShowTheirPicture)
{
    startWith({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    controller->vor(); // before the first tick
    EXPECT_EQ(shown(), 41);
    EXPECT_EQ(filePanel(), "b.jpg");
    controller->FirstPictureTimerTimer();
    EXPECT_EQ(shown(), 41);
    controller->vor(); // before the preload of b's neighbour
    controller->vor();
    EXPECT_EQ(shown(), 43);
    controller->zurueck();
    EXPECT_EQ(shown(), 42);
    controller->LoadTimerTimer();
    controller->zurueck();
    EXPECT_EQ(shown(), 41);
    EXPECT_EQ(filePanel(), "b.jpg");
    EXPECT_TRUE(messages.empty());
}

TEST_F(PictureCache, EmptyFileIsAZeroSizedPicture)
{
    writeWeighting("999999999999999");
    writeFile("leer.jpg", "");
    start();
    controller->FirstPictureTimerTimer();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(form->Rahmen()->size(), QSize(0, 0));
}

TEST_F(PictureCache, RunningTimerIsNotRestarted)
{
    startWith({"a.jpg", "b.jpg", "c.jpg"});
    controller->FirstPictureTimerTimer();
    ASSERT_TRUE(controller->LoadTimer.isActive());
    const int before = controller->LoadTimer.remainingTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    controller->vor(); // starts the running timer again

    EXPECT_LT(controller->LoadTimer.remainingTime(), before);
}

} // namespace
