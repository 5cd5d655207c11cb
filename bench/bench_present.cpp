// The results evening on a 1920 x 1080 offscreen projector, with 24 MP
// pictures: the first picture (start to its paint, in a fresh process each
// run, as bench_start measures the judging program), and a step to a
// preloaded picture to its finished paint (as bench_move measures a move):
// the round's step to the next picture and the announcement's step that
// adds the band. Against one plain blit of a screen-sized image.
#include "bench/SyntheticPhoto.h"
#include "evaluation/present/PresentationWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPictures = 4;
constexpr int kSteps = 12;

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double ms(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void waitExposed(QWidget& window)
{
    for (int i = 0; i < 100 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Notes the first paint with the first picture ready to blit.
class FirstPaint : public QObject {
  public:
    FirstPaint(evaluation::PresentationWindow& window, const QElapsedTimer& clock, double& shownMs)
        : window_(window), clock_(clock), shownMs_(shownMs)
    {
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && window_.step() == 0 && shownMs_ < 0) {
            shownMs_ = ms(clock_);
            // After the paint: quitting closes the window.
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    evaluation::PresentationWindow& window_;
    const QElapsedTimer& clock_;
    double& shownMs_;
};

double startToFirstPicture(int argc, char** argv, const std::string& folder)
{
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    std::string problem;
    auto* window = evaluation::openPresentation(folder, true, 0, problem);
    if (!window) {
        std::printf("%s\n", problem.c_str());
        return -1;
    }
    double shownMs = -1;
    FirstPaint watch(*window, clock, shownMs);
    window->installEventFilter(&watch);
    application.exec();
    return shownMs;
}

// Steps forward and back, each after its preload has finished, as when the
// presenter takes a moment per picture.
// Every step must reach the screen: its paints are counted.
struct PaintCount : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

double stepMs(evaluation::PresentationWindow& window, int runs, int& paints)
{
    PaintCount count;
    window.installEventFilter(&count);
    std::vector<double> steps;
    for (int i = 0; i < runs; ++i) {
        window.pictures().preloadNow();
        window.pictures().finishSlices();
        QElapsedTimer timer;
        timer.start();
        i % 2 == 0 ? window.goForward() : window.goBack();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        steps.push_back(ms(timer));
    }
    paints = count.paints;
    return median(steps);
}

class Blit : public QWidget {
  public:
    Blit() : image_(1920, 1080, QImage::Format_RGB32) { image_.fill(Qt::darkCyan); }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, image_); }

  private:
    QImage image_;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen:size=1920x1080");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir folder;
    QFile weighting(folder.filePath(QStringLiteral("Qel.max")));
    weighting.open(QIODevice::WriteOnly);
    QByteArray ratings;
    for (int n = 0; n < 15; ++n)
        weighting.write(QStringLiteral("5 Kriterium %1\r\n").arg(n + 1).toLatin1());
    weighting.close();
    for (int i = 0; i < kPictures; ++i) {
        const QString name = QStringLiteral("bild%1.jpg").arg(i);
        bench::writePhoto(folder.filePath(name).toStdString(), 6000, 4000, 90, unsigned(i));
        ratings += QByteArray(15, char('1' + i)) + '-' + name.toLatin1() + "\r\n";
    }
    QFile judge(folder.filePath(QStringLiteral("Anna.qel")));
    judge.open(QIODevice::WriteOnly);
    judge.write(ratings);
    judge.close();
    const std::string path = folder.path().toStdString();

    std::printf("24 MP, start to first picture on screen (5 runs):");
    for (int run = 0; run < 5; ++run) {
        int pipe[2];
        if (::pipe(pipe) != 0)
            return 1;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipe[0]);
            const double shown = startToFirstPicture(argc, argv, path);
            (void)!::write(pipe[1], &shown, sizeof shown);
            _exit(0);
        }
        ::close(pipe[1]);
        double shown = -1;
        (void)!::read(pipe[0], &shown, sizeof shown);
        ::close(pipe[0]);
        ::waitpid(child, nullptr, 0);
        std::printf(" %7.1f ms", shown);
    }
    std::printf("\n");

    QApplication application(argc, argv);
    Blit blit;
    blit.setGeometry(0, 0, 1920, 1080);
    blit.show();
    waitExposed(blit);
    std::vector<double> blits;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        blit.repaint();
        blits.push_back(ms(timer));
    }
    std::printf("plain blit of 1920 x 1080: %.2f ms\n", median(blits));
    blit.hide();

    for (const bool round : {true, false}) {
        std::string problem;
        auto* window = evaluation::openPresentation(path, round, 0, problem);
        if (!window) {
            std::printf("%s\n", problem.c_str());
            return 1;
        }
        waitExposed(*window);
        window->goFirst();
        window->pictures().finishSlices();
        window->repaint();
        int paints = 0;
        const double step = stepMs(*window, kSteps, paints);
        std::printf("%-34s %6.2f ms (%.2f blits; %d steps, %d paints)\n",
                    round ? "round: step to the next picture" : "announcement: step to its band",
                    step, step / median(blits), kSteps, paints);
        window->close();
        QCoreApplication::processEvents();
    }
    return 0;
}
