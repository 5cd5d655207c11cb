#include "bench/SyntheticPhoto.h"
#include "evaluation/GuiApplication.h"
#include "evaluation/present/PresentationWindow.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QScreen>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using evaluation::present::Show;

evaluation::ReportRow row(std::size_t picture, int place, const char* mean, const char* title)
{
    evaluation::ReportRow r;
    r.picture = picture;
    r.place = place;
    r.mean = mean;
    r.title = title;
    return r;
}

// Each step as "title" for the picture alone, "title: first band line" with its band.
std::vector<std::string> steps(const Show& show, const std::vector<std::string>& titles)
{
    std::vector<std::string> out;
    for (const auto& step : show.steps) {
        const std::string& title = titles.at(show.pictures.at(step.position));
        out.push_back(step.band.empty() ? title : title + ": " + step.band.front());
    }
    return out;
}

TEST(Presentation, StepsFromTheLastPlaceUpToTheFirst)
{
    evaluation::Report report;
    // Best first, as the report orders them; E nobody rated.
    report.rows = {row(0, 1, "40,0", "A"), row(2, 2, "35,5", "C"), row(1, 2, "35,5", "B"),
                   row(3, 4, "30,0", "D"), row(4, 0, "", "E")};
    const std::vector<std::string> titles = {"A", "B", "C", "D", "E"};
    const struct {
        int places;
        std::vector<std::string> steps;
    } cases[] = {
        {0,
         {"D", "D: Platz 4 · Mittelwert 30,0", "B", "B: Platz 2 (geteilt) · Mittelwert 35,5", "C",
          "C: Platz 2 (geteilt) · Mittelwert 35,5", "A", "A: Platz 1 · Mittelwert 40,0"}},
        // A shared place counts whole; no picture has place 3.
        {3,
         {"B", "B: Platz 2 (geteilt) · Mittelwert 35,5", "C",
          "C: Platz 2 (geteilt) · Mittelwert 35,5", "A", "A: Platz 1 · Mittelwert 40,0"}},
        {1, {"A", "A: Platz 1 · Mittelwert 40,0"}},
    };
    for (const auto& c : cases) {
        const Show show = evaluation::present::announcementShow(report, c.places);
        EXPECT_EQ(steps(show, titles), c.steps) << "first " << c.places << " places";
        EXPECT_EQ(show.bandLines, 2u);
    }
    // The title line is the report's title ("Titel – Autor"), controls removed.
    report.rows = {row(0, 1, "40,0", "Abend\x1b[2J – Anna Berg")};
    EXPECT_EQ(evaluation::present::announcementShow(report).steps.back().band.back(),
              "Abend[2J – Anna Berg");
    // Nobody rated anything: nothing to announce.
    report.rows = {row(0, 0, "", "A")};
    EXPECT_TRUE(evaluation::present::announcementShow(report).steps.empty());

    const Show round = evaluation::present::roundShow(3);
    EXPECT_EQ(steps(round, {"a", "b", "c"}), (std::vector<std::string>{"a: 1", "b: 2", "c: 3"}));
    EXPECT_EQ(round.bandLines, 1u);
}

constexpr int kWaitMs = 20'000; // a loaded machine; the window answers well within it

TEST(Presentation, WindowAnnouncesUpToPlaceOneAndBlacksTheScreen)
{
    ensureGuiApplication();
    const fs::path folder =
        fs::temp_directory_path() / ("bb-present-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream weighting(folder / "Qel.max", std::ios::binary);
    for (int n = 1; n <= 15; ++n)
        weighting << "5 K" << n << "\r\n";
    weighting.close();
    // A wide and a tall picture, and one nobody rated.
    bench::writePhoto((folder / "01.jpg").string(), 1200, 800);
    bench::writePhoto((folder / "02.jpg").string(), 600, 900);
    bench::writePhoto((folder / "03.jpg").string(), 300, 200);
    std::ofstream(folder / "Anna.qel", std::ios::binary)
        << "333303333033330-01.jpg\r\n444404444044440-02.jpg\r\n";
    std::ofstream(folder / "Teilnehmer.csv", std::ios::binary)
        << "Datei;Titel;Autor\r\n01.jpg;Nebel;Bert Kurz\r\n02.jpg;Abendlicht;Anna Berg\r\n"
           "03.jpg;Ungesehen;Carla Roth\r\n";

    std::string problem;
    QPointer<evaluation::PresentationWindow> window =
        evaluation::openPresentation(folder.string(), false, 0, problem);
    ASSERT_TRUE(window) << problem;
    EXPECT_EQ(window->geometry(), evaluation::PresentationWindow::projectorScreen()->geometry());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->step() == 0; }, kWaitMs));
    EXPECT_EQ(window->stepCount(), 4); // the unrated picture has no step
    EXPECT_EQ(window->accessibleName(), "Bild 1 von 2");
    EXPECT_GE(window->bandTextPixels() * 20, window->height());
    // The picture as large as the room above the band allows, on black.
    const QRect picture = window->pictureRect();
    EXPECT_TRUE(picture.width() == window->width() ||
                picture.height() == window->height() - window->bandRect().height());
    QImage shown = window->grab().toImage();
    EXPECT_NE(shown.pixelColor(picture.center()), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(0, window->height() - 1), QColor(Qt::black));

    for (int i = 0; i < 5; ++i)
        QTest::keyClick(window, Qt::Key_PageDown);
    EXPECT_EQ(window->step(), 3);
    EXPECT_EQ(window->accessibleName(), "Platz 1 · Mittelwert 48,0 · Abendlicht – Anna Berg");
    EXPECT_EQ(window->accessibleDescription(), "Schritt 4 von 4");
    // The band's text is on the screen, white on black.
    shown = window->grab().toImage();
    const QRect band = window->bandRect();
    bool white = false;
    for (int x = band.left(); x <= band.right() && !white; ++x)
        for (int y = band.top(); y <= band.bottom() && !white; ++y)
            white = shown.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_TRUE(white);

    QTest::keyClick(window, Qt::Key_B);
    EXPECT_EQ(window->accessibleName(), "Schwarz");
    shown = window->grab().toImage();
    EXPECT_EQ(shown.pixelColor(window->pictureRect().center()), QColor(Qt::black));
    // From black, a step key brings the picture back without stepping.
    QTest::keyClick(window, Qt::Key_Left);
    EXPECT_FALSE(window->isBlack());
    EXPECT_EQ(window->step(), 3);
    QTest::keyClick(window, Qt::Key_Home);
    EXPECT_EQ(window->step(), 0);
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(window->step(), 3);

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, kWaitMs));
    fs::remove_all(folder);
}

} // namespace
