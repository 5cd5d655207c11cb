#include "AppFixture.h"

#include "Viewer/Fit.h"
#include "Viewer/PictureFrame.h"
#include "Viewer/QelPanel.h"
#include "core/Messages.h"
#include "core/Tunables.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImageWriter>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <jerror.h>
#include <optional>
#include <thread>

namespace {

using Kind = messagebox::Kind;

class PictureShow : public AppFixture {
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

// A progressive JPEG, 40 x 30, whose third table has a broken length: its
// header reads fine, its decode ends with a libjpeg error.
std::string brokenProgressive()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    QByteArray bytes = buffer.data();
    for (qsizetype i = 0, tables = 0; i + 3 < bytes.size(); ++i)
        if (bytes[i] == char(0xff) && bytes[i + 1] == char(0xc4) && ++tables == 3) {
            bytes[i + 2] = 0;
            bytes[i + 3] = 1;
        }
    return bytes.toStdString();
}

// The first tick's wiring: the picture (or the placeholder and one
// warning) in the visible frame, its timer stopped, the preload's timer
// armed; a decode error told once, after the paint. Which slot holds what
// is the cache's own test.
TEST_F(PictureShow, FirstTickShowsThePictureOrThePlaceholder)
{
    const struct {
        const char* name;
        std::optional<std::string> firstFile; // else a picture
        std::vector<Message> atTheTick, afterThePaint;
        QSize shown;
    } cases[] = {
        {"picture", std::nullopt, {}, {}, {40, 30}},
        {"unreadable",
         "Das ist kein Bild.\n",
         {cannotOpen("a.jpg")},
         {cannotOpen("a.jpg")},
         {500, 348}},
        {"empty", "", {}, {}, {0, 0}},
        {"decodeError",
         brokenProgressive(),
         {},
         {{Kind::GeneralError, "JPEG-Fehler #" + std::to_string(JERR_BAD_LENGTH) + "."}},
         {40, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        writeWeighting("999999999999999");
        c.firstFile ? writeFile("a.jpg", *c.firstFile) : writePicture("a.jpg", 40, 30);
        writePicture("b.jpg", 41, 30);
        start();
        EXPECT_EQ(shown(), 0) << "nothing before the first tick";
        show().FirstPictureTimerTimer();
        EXPECT_EQ(messages, c.atTheTick);
        EXPECT_EQ(QSize(shown(), form->Rahmen()->picture().height()), c.shown);
        EXPECT_EQ(form->Rahmen()->size().isEmpty(), c.shown.isEmpty());
        EXPECT_TRUE(form->Rahmen()->isVisibleTo(form.get()));
        EXPECT_FALSE(show().firstPictureTimer().isActive());
        EXPECT_TRUE(show().loadTimer().isActive()) << "picture 1 is preloaded";
        QCoreApplication::processEvents();
        EXPECT_EQ(messages, c.afterThePaint);
        show().LoadTimerTimer();
        EXPECT_FALSE(show().loadTimer().isActive());
        EXPECT_EQ(show().cache().ForwardTemp().width(), 41);
        controller->vor();
        controller->zurueck();
        QCoreApplication::processEvents();
        EXPECT_EQ(messages, c.afterThePaint) << "told once, not at each showing";
        controller.reset();
        form.reset();
    }
}

// Memory runs out while a picture is decoded at a timer tick: the slot gets
// the placeholder, the judge one warning, and the timer does not fire again.
TEST_F(PictureShow, OutOfMemoryGivesThePlaceholderOnce)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit means nothing under AddressSanitizer";
#endif
    for (const bool firstTick : {true, false}) {
        SCOPED_TRACE(firstTick ? "first tick" : "preload");
        messages.clear();
        writeWeighting("999999999999999");
        writePicture("a.jpg", 40, 30);
        writePicture("b.jpg", 41, 30);
        // The file's header declares 8000 x 8000: 192 MB of bitmap.
        const std::string name = firstTick ? "a.jpg" : "b.jpg";
        QByteArray bytes;
        {
            std::ifstream in(name, std::ios::binary);
            bytes = QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
        }
        const qsizetype frame = bytes.indexOf("\xff\xc0");
        for (const qsizetype at : {frame + 5, frame + 7}) {
            bytes[at] = char(8000 >> 8);
            bytes[at + 1] = char(8000 & 0xff);
        }
        writeFile(name, bytes.toStdString());
        rlimit previous{};
        ::getrlimit(RLIMIT_AS, &previous);
        const auto tighten = [&] {
            long pages = 0;
            std::ifstream("/proc/self/statm") >> pages;
            rlimit tight = previous;
            tight.rlim_cur = static_cast<rlim_t>(pages) * ::getpagesize() + (rlim_t{64} << 20);
            ::setrlimit(RLIMIT_AS, &tight);
        };
        if (firstTick) {
            tighten(); // the first picture's read starts with the window
            start();
        } else {
            start();
            show().FirstPictureTimerTimer();
            tighten();
        }
        firstTick ? show().FirstPictureTimerTimer() : show().LoadTimerTimer();
        show().finishSlices();
        ::setrlimit(RLIMIT_AS, &previous);

        EXPECT_EQ(messages, (std::vector<Message>{cannotOpen(name.c_str())}));
        EXPECT_EQ((firstTick ? show().cache().Bild() : show().cache().ForwardTemp()).width(), 500);
        EXPECT_FALSE(show().firstPictureTimer().isActive());
        EXPECT_EQ(show().loadTimer().isActive(), firstTick) << "only the first tick arms it";
        controller.reset();
        form.reset();
    }
}

// The placeholder shows under its picture's name and uses its line, also
// when the move comes before the first tick and the warning about the
// picture waits in its own event loop while the timers come due: they
// change nothing on screen until the judge has answered. The warning names
// the picture as the panel does, also a name that is not UTF-8 (read as
// Windows-1252). The load rules themselves are the cache's own tests.
TEST_F(PictureShow, PlaceholderShowsUnderItsNameWithItsLine)
{
    const struct {
        bool beforeTheFirstTick;
        std::string name;
        std::string shownName;
    } cases[] = {
        {false, "b.jpg", "b.jpg"}, {true, "b.jpg", "b.jpg"}, {false, "b\xe9.jpg", "b\xc3\xa9.jpg"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.beforeTheFirstTick ? "move before the first tick" : "after the preload");
        SCOPED_TRACE(c.name);
        messages.clear();
        for (const auto& entry : std::filesystem::directory_iterator("."))
            std::filesystem::remove(entry.path());
        startWith({"a.jpg", c.name, "c.jpg"}, c.name);
        recorder = [this](messagebox::Kind kind, const QString& text) {
            messages.push_back({kind, text.toStdString()});
            QEventLoop waiting; // the judge reads the box for three timer intervals
            QTimer::singleShot(3 * tunables::kPreloadTimerInterval, &waiting, &QEventLoop::quit);
            waiting.exec();
            return true;
        };
        if (!c.beforeTheFirstTick) {
            show().FirstPictureTimerTimer();
            show().LoadTimerTimer();
            EXPECT_FALSE(show().loadTimer().isActive());
        }
        controller->vor();
        QElapsedTimer clock; // the timers' ticks and the slices after the box
        clock.start();
        while (clock.elapsed() < 3 * tunables::kPreloadTimerInterval.count())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(filePanel(), c.shownName);
        EXPECT_EQ(messages, (std::vector<Message>{
                                {Kind::Warning, messages::cannotOpenPicture(filePanel())}}));
        EXPECT_EQ(shown(), 500);
        EXPECT_TRUE(form->Rahmen()->isVisibleTo(form.get()));
        panel().rows[0]->slider()->setValue(4);
        EXPECT_EQ(controller->sheet()[1], "400000000000000-" + c.name);
        EXPECT_EQ(messages.size(), 1u) << "shown from the cache, not read again";
        controller.reset();
        form.reset();
    }
}

// The preload readies the picture for the frame it will be shown in: the
// stretched image has the frame's inner size, so the move only blits.
TEST_F(PictureShow, PreloadStretchesToTheFramesInnerSize)
{
    writeWeighting("999999999999999");
    writePicture("a.jpg");
    writePicture("b.jpg", 3000, 2000);
    start();
    show().FirstPictureTimerTimer();
    show().LoadTimerTimer();
    show().finishSlices();
    const pictures::Picture next = show().cache().ForwardTemp();
    const fitting::FitResult fit =
        fitting::fitPicture({3000, 2000}, {1920, 1080}, QelPanel::kWidth);
    const int border = 2 * PictureFrame::Border;
    EXPECT_TRUE(next.stretchStep(fit.width - border, fit.height - border, {}))
        << "ready, nothing left to do";
    controller->vor();
    EXPECT_EQ(form->Rahmen()->bild()->size(), QSize(fit.width - border, fit.height - border));
}
// The preload decodes in slices between events: a move during it, and two
// moves during one, show their pictures finished at once; closing with a
// decode under way leaves nothing behind (the sanitizer run watches).
TEST_F(PictureShow, MovesDuringASlicedPreload)
{
    writeWeighting("999999999999999");
    for (int i = 0; i < 4; ++i)
        writePicture("p" + std::to_string(i) + ".jpg", 1600 + i, 1200);
    start();
    show().FirstPictureTimerTimer();
    show().finishSlices();
    for (int moves = 1; moves <= 2; ++moves) {
        show().LoadTimerTimer();
        QCoreApplication::processEvents(); // one slice
        ASSERT_TRUE(show().slicing()) << "the preload is still decoding";
        for (int i = 0; i < moves; ++i)
            controller->vor();
        EXPECT_EQ(shown(), 1600 + show().index());
        EXPECT_TRUE(show().cache().Bild().isDecoded());
    }
    EXPECT_EQ(show().index(), 3);
    EXPECT_TRUE(messages.empty());
    controller->zurueck();
    show().LoadTimerTimer();
    QCoreApplication::processEvents();
    ASSERT_TRUE(show().slicing());
    controller.reset();
    form.reset();
}

TEST_F(PictureShow, RunningTimerIsNotRestarted)
{
    startWith({"a.jpg", "b.jpg", "c.jpg"});
    show().FirstPictureTimerTimer();
    ASSERT_TRUE(show().loadTimer().isActive());
    // Half the interval gone: a restart would show a full interval again.
    const int half = static_cast<int>(tunables::kPreloadTimerInterval.count() / 2);
    while (show().loadTimer().remainingTime() > half)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    controller->vor(); // asks for the running timer again
    EXPECT_LE(show().loadTimer().remainingTime(), half);
}

} // namespace
