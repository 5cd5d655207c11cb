#include "AppFixture.h"

#include <sys/inotify.h>
#include <sys/stat.h>

#include "core/Messages.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Kind = messagebox::Kind;

class Startup : public AppFixture {};

TEST_F(Startup, WithWeightingAndThreePictures)
{
    writeWeighting("543215432154321");
    for (const char* name : {"b.jpg", "A.jpg", "c.JPG"})
        writePicture(name);
    start();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(sums(), "0 / 15 Punkte | 0 / 15 Punkte | 0 / 15 Punkte | 0 / 45 Punkte");
    EXPECT_EQ(text(panel().Bilddatei), "Bild: ");
    EXPECT_EQ(filePanel(), "A.jpg");
    EXPECT_EQ(arrows(), "->");
    EXPECT_EQ(controller->sheet(), (rating::Sheet{"000000000000000-A.jpg", "000000000000000-b.jpg",
                                                  "000000000000000-c.JPG"}));
    EXPECT_TRUE(show().firstPictureTimer().isActive());
    EXPECT_FALSE(form->Rahmen()->isVisibleTo(form.get())) << "hidden until the first tick";
    EXPECT_EQ(text(panel().rows[0]->valueLabel()), "0/5");
    EXPECT_EQ(panel().rows[0]->captionLabel()->caption().toStdString(), " Kriterium 1");
}

// The window and its panel are painted before the first picture's file is
// opened: from a slow stick the judge still sees the window at once.
TEST_F(Startup, NoPictureIsReadBeforeTheFirstPaint)
{
    writeWeighting("555555555555555");
    writePicture("a.jpg");
    struct FirstPaint : QObject {
        int watch = ::inotify_init1(IN_NONBLOCK);
        std::optional<bool> openedBefore;
        bool opened()
        {
            alignas(inotify_event) char events[4096];
            return ::read(watch, events, sizeof events) > 0;
        }
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint && !openedBefore)
                openedBefore = opened();
            return false;
        }
    } firstPaint;
    ASSERT_GE(::inotify_add_watch(firstPaint.watch, "a.jpg", IN_OPEN), 0);
    form = std::make_unique<TScreenForm>();
    form->QelPanel_()->installEventFilter(&firstPaint); // the panel paints after the window
    form->resize(1920, 1080);
    controller = std::make_unique<Controller>(*form, boxes);
    controller->FormCreate();
    form->show();
    QElapsedTimer clock;
    clock.start();
    while (form->Rahmen()->picture().width() == 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(firstPaint.openedBefore, false);
    EXPECT_TRUE(firstPaint.opened()) << "the first picture was read afterwards";
    ::close(firstPaint.watch);
}

TEST_F(Startup, SumsAndMessagesFollowTheWeightingFile)
{
    const struct {
        const char* name;
        std::optional<std::string> file;
        std::vector<Message> messages;
        std::string sums;
        std::string firstLabel, lastLabel, lastCaption;
        std::uintmax_t growTo = 0; // then made this large, sparse (NULs)
        bool fifo = false;         // a FIFO instead of a file
    } cases[] = {
        {"valid",
         "5 a\r\n5 b\r\n5 c\r\n5 d\r\n5 e\r\n1 f\r\n1 g\r\n1 h\r\n1 i\r\n1 j\r\n0 k\r\n0 "
         "l\r\n0 m\r\n0 n\r\n0 o\r\n",
         {},
         "0 / 25 Punkte | 0 / 5 Punkte | 0 / 0 Punkte | 0 / 30 Punkte",
         "0/5",
         "0/0",
         " o"},
        {"missing",
         std::nullopt,
         {{Kind::Warning, messages::kWeightingNotLoaded}},
         "0 / 0 Punkte | 0 / 0 Punkte | 0 / 0 Punkte | 0 / 0 Punkte",
         "0",
         "0",
         " B5"},
        {"short",
         "5 a\r\n5 b\r\n",
         {{Kind::Warning, messages::kWeightingIncorrect}},
         "0 / 0 Punkte | 0 / 0 Punkte | 0 / 0 Punkte | 0 / 0 Punkte",
         "0",
         "0",
         " B5"},
        {"letterInLine9",
         "1 a\n2 b\n3 c\n4 d\n5 e\n6 f\n7 g\n8 h\nx i\n1 j\n1 k\n1 l\n1 m\n1 n\n1 o\n",
         {{Kind::Warning, messages::kWeightingNotLoaded}},
         "0 / 15 Punkte | 0 / 21 Punkte | 0 / 0 Punkte | 0 / 36 Punkte",
         "0",
         "0",
         " B5"},
        {"validThen200GB",
         "5 a\r\n5 b\r\n5 c\r\n5 d\r\n5 e\r\n1 f\r\n1 g\r\n1 h\r\n1 i\r\n1 j\r\n0 k\r\n0 "
         "l\r\n0 m\r\n0 n\r\n0 o\r\n",
         {},
         "0 / 25 Punkte | 0 / 5 Punkte | 0 / 0 Punkte | 0 / 30 Punkte",
         "0/5",
         "0/0",
         " o",
         std::uintmax_t{200} << 30},
        {"allZero",
         "0 a\r\n0 b\r\n0 c\r\n0 d\r\n0 e\r\n0 f\r\n0 g\r\n0 h\r\n0 i\r\n0 j\r\n0 k\r\n0 "
         "l\r\n0 m\r\n0 n\r\n0 o\r\n",
         {},
         "0 / 0 Punkte | 0 / 0 Punkte | 0 / 0 Punkte | 0 / 0 Punkte",
         "0/0",
         "0/0",
         " o"},
        {"fifo",
         std::nullopt,
         {{Kind::Warning, messages::kWeightingNotLoaded}},
         "0 / 0 Punkte | 0 / 0 Punkte | 0 / 0 Punkte | 0 / 0 Punkte",
         "0",
         "0",
         " B5",
         0,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("Qel.max");
        if (c.file)
            writeFile("Qel.max", *c.file);
        if (c.growTo)
            std::filesystem::resize_file("Qel.max", c.growTo);
        if (c.fifo)
            ::mkfifo("Qel.max", 0600);
        writePicture("p.jpg");
        messages.clear();
        controller.reset();
        form.reset();
        start();
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(sums(), c.sums);
        EXPECT_EQ(text(panel().rows[0]->valueLabel()), c.firstLabel);
        EXPECT_EQ(text(panel().rows[14]->valueLabel()), c.lastLabel);
        EXPECT_EQ(panel().rows[14]->captionLabel()->caption().toStdString(), c.lastCaption);
    }
}

TEST_F(Startup, HiddenRowsAndTheirMaximaStillCount)
{
    std::string file = "5 Idee\r\n7\r\n5  \r\n0 \r\n1 e\r\n";
    for (int n = 5; n < 15; ++n)
        file += "1 x\r\n";
    writeFile("Qel.max", file);
    writePicture("p.jpg");
    start();
    EXPECT_TRUE(panel().rows[0]->isVisibleTo(form.get()));
    EXPECT_FALSE(panel().rows[1]->isVisibleTo(form.get()));
    EXPECT_TRUE(panel().rows[2]->isVisibleTo(form.get())) << "a caption of three spaces shows";
    EXPECT_FALSE(panel().rows[3]->isVisibleTo(form.get()));
    EXPECT_EQ(text(panel().WPkt), "0 / 18 Punkte");
}

// Without pictures the window still opens, and nothing the judge does
// moves, fails quietly or touches more than the buttons.
TEST_F(Startup, EmptyFolderOpensWithoutPictures)
{
    writeWeighting("555555555555555");
    std::filesystem::create_directory("ordner.jpg");
    writeFile(".versteckt.jpg", "x");
    start();
    EXPECT_EQ(messages, (std::vector<Message>{{Kind::Information, messages::kNoPictures}}));
    EXPECT_EQ(filePanel(), "");
    EXPECT_EQ(sums(), "0 / 25 Punkte | 0 / 25 Punkte | 0 / 25 Punkte | 0 / 75 Punkte");
    EXPECT_EQ(arrows(), "--");
    EXPECT_FALSE(show().firstPictureTimer().isActive());
    controller->vor();
    controller->FormMouseDown(Qt::LeftButton, {10, 10});
    EXPECT_EQ(show().index(), 0);
    messages.clear();
    controller->zoombuttonClick();
    EXPECT_TRUE(form->Rahmen()->isLoupe());
    EXPECT_EQ(arrows(), "--");
    controller->zoombuttonClick();
    EXPECT_EQ(arrows(), "--");
    EXPECT_TRUE(messages.empty());
    // A score has no line to go to.
    panel().rows[0]->slider()->setValue(2); // as the judge would
    EXPECT_EQ(messages, (std::vector<Message>{
                            {Kind::GeneralError, "Listenindex überschreitet das Maximum (0)"}}));
    EXPECT_EQ(text(panel().rows[0]->valueLabel()), "2/5") << "labels already show the value";
    EXPECT_TRUE(controller->sheet().empty());
}

TEST_F(Startup, MoreThan65535PicturesAreRefusedNotWrapped)
{
    writeWeighting("555555555555555");
    for (int i = 0; i <= 65535; ++i) {
        const std::string name = "b" + std::to_string(i) + ".jpg";
        ::close(::open(name.c_str(), O_CREAT | O_WRONLY, 0644));
    }
    start();
    EXPECT_EQ(messages, (std::vector<Message>{{Kind::Warning, messages::kTooManyPictures}}));
    EXPECT_EQ(show().count(), 0);
    EXPECT_FALSE(show().hasPictures());
    EXPECT_TRUE(controller->sheet().empty());
    EXPECT_EQ(arrows(), "--");
    EXPECT_FALSE(show().firstPictureTimer().isActive());
}

} // namespace
