// Paint costs of the picture frame on a 1920 x 1080 offscreen screen:
// a plain screen-sized blit against showing a preloaded picture, and a pan
// step in the loupe against a blit of the frame's area; also for a camera
// portrait, which the loupe draws upright through the orientation's mapping.
#include "Viewer/Fit.h"
#include "Viewer/PictureFrame.h"
#include "bench/SyntheticPhoto.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kScreenW = 1920;
constexpr int kScreenH = 1080;
constexpr int kPanelW = 313;
constexpr int kRuns = 31;
constexpr int kPanSteps = 101;

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double medianMs(const std::function<void(int)>& step)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        step(i);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return median(std::move(times));
}

// Draws one ready image: the cheapest possible repaint of its area.
class BlitWidget : public QWidget {
  public:
    explicit BlitWidget(QSize size) : image_(size, QImage::Format_RGB32)
    {
        image_.fill(Qt::darkGray);
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(size);
    }

  protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.drawImage(event->rect().topLeft(), image_, event->rect());
    }

  private:
    QImage image_;
};

// Sums the areas `Bild` is asked to paint.
class PaintedArea : public QObject {
  public:
    long long pixels = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                pixels += static_cast<long long>(r.width()) * r.height();
            }
        }
        return false;
    }
};

void waitExposed(QWidget& window)
{
    window.show();
    for (int i = 0; i < 100 && !window.windowHandle()->isExposed(); ++i) {
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
}

// Through repaint(), or as a scheduled update handled by the event loop (the
// way a moved widget gets painted).
double blitMs(QSize size, bool scheduled = false)
{
    QWidget window;
    window.resize(kScreenW, kScreenH);
    auto* blit = new BlitWidget(size);
    blit->setParent(&window);
    waitExposed(window);
    return medianMs([&](int) {
        if (scheduled) {
            blit->update();
            QCoreApplication::processEvents();
        } else {
            blit->repaint();
        }
    });
}

struct Size {
    const char* name;
    int w, h;            // upright
    int orientation = 1; // EXIF: 6 is a portrait stored lying
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;

    const double screenBlit = blitMs({kScreenW, kScreenH});
    std::printf("(a) plain blit of a %dx%d RGB32 image: %.3f ms (median of %d)\n", kScreenW,
                kScreenH, screenBlit, kRuns);
    std::printf("    a scheduled paint of a 16x16 widget (event loop and flush alone): %.3f ms\n",
                blitMs({16, 16}, true));

    const Size sizes[] = {{"12 MP", 4000, 3000},
                          {"24 MP", 6000, 4000},
                          {"24 MP portrait", 4000, 6000, 6},
                          {"45 MP", 8256, 5504}};
    for (const Size& size : sizes) {
        std::string file = dir.filePath(QString("p%1.jpg").arg(size.w)).toStdString();
        if (size.orientation == 1) {
            bench::writePhoto(file, size.w, size.h);
        } else {
            bench::writePhoto(file, size.h, size.w);
            file = bench::withOrientation(file, size.orientation);
        }
        // Two holders of their own, as a move swaps the shown picture for the
        // preloaded neighbour.
        const pictures::Picture pictures[2] = {pictures::Picture::load(file),
                                               pictures::Picture::load(file)};
        const fitting::FitResult fit =
            fitting::fitPicture({size.w, size.h}, {kScreenW, kScreenH}, kPanelW);
        const int innerW = fit.width - 2 * PictureFrame::Border;
        const int innerH = fit.height - 2 * PictureFrame::Border;
        for (const pictures::Picture& p : pictures) {
            p.decode(); // the preload decodes ...
        }
        QElapsedTimer stretchTimer;
        stretchTimer.start();
        pictures[0].stretched(innerW, innerH); // ... and makes the stretched image
        const double stretchMs = static_cast<double>(stretchTimer.nsecsElapsed()) / 1e6;
        pictures[1].stretched(innerW, innerH);

        QWidget window;
        window.resize(kScreenW, kScreenH);
        auto* frame = new PictureFrame(&window);
        frame->place(fit);
        frame->setPicture(pictures[0]);
        waitExposed(window);

        const double frameBlit = blitMs({fit.width, fit.height}, true);
        const double move = medianMs([&](int i) {
            frame->place(fit);
            frame->setPicture(pictures[(i + 1) % 2]);
            frame->repaint();
        });

        frame->setLoupe(true);
        window.repaint(); // the switch's own full paint is not a pan step
        QCoreApplication::processEvents();
        PaintedArea area;
        frame->bild()->installEventFilter(&area);
        // Back and forth in the middle of the picture, 10 px a step; each
        // step is the move (Qt scrolls the backing store at once) and the
        // paint Qt schedules for the uncovered strips.
        int x = -size.w / 2;
        int y = -size.h / 2;
        std::vector<double> moveTimes, paintTimes, panTimes;
        for (int i = 0; i < kPanSteps; ++i) {
            const int d = (i / 8) % 2 == 0 ? -10 : 10;
            x += d;
            y += d;
            QElapsedTimer timer;
            timer.start();
            frame->bild()->move(x, y);
            const qint64 moved = timer.nsecsElapsed();
            QCoreApplication::processEvents();
            const qint64 painted = timer.nsecsElapsed();
            moveTimes.push_back(static_cast<double>(moved) / 1e6);
            paintTimes.push_back(static_cast<double>(painted - moved) / 1e6);
            panTimes.push_back(static_cast<double>(painted) / 1e6);
        }
        const double pan = median(panTimes);
        const double panPixels = static_cast<double>(area.pixels) / kPanSteps;

        std::printf("%s (%dx%d): frame %dx%d, stretched image made once in %.1f ms\n", size.name,
                    size.w, size.h, fit.width, fit.height, stretchMs);
        std::printf("  (b) show preloaded picture + repaint frame: %.3f ms = %.2f x (a)\n", move,
                    move / screenBlit);
        std::printf("  (c) loupe pan step of 10 px: %.3f ms = %.2f x blit of the frame's area "
                    "(%.3f ms)\n      move %.3f ms + paint %.3f ms; Bild painted %.0f px a step "
                    "of the frame's %d px\n",
                    pan, pan / frameBlit, frameBlit, median(moveTimes), median(paintTimes),
                    panPixels, fit.width * fit.height);
    }
    return 0;
}
