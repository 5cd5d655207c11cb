// A move as the judge makes it, on a 1920 x 1080 offscreen screen: from `vor`
// with a preloaded neighbour to the finished paint of the whole window,
// against one plain blit of a screen-sized image. The rating panel's own
// repaint is shown separately. Then the preload that follows a move: its
// timer tick (reading the file) and the decode slices between events, the
// longest of which is the longest the window can keep an event waiting.
#include "Viewer/MessageBoxes.h"
#include "Viewer/TScreenForm.h"
#include "app/Controller.h"
#include "bench/SyntheticPhoto.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void()>& step)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

class Blit : public QWidget {
  public:
    Blit() : image_(1920, 1080, QImage::Format_RGB32) { image_.fill(Qt::darkCyan); }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, image_); }

  private:
    QImage image_;
};

void showExposed(QWidget& window)
{
    window.show();
    for (int i = 0; i < 100 && !window.windowHandle()->isExposed(); ++i)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen:size=1920x1080");
    QApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // A box would wait for a judge who is not there: print it instead.
    messagebox::Boxes boxes([](messagebox::Kind, const QString& text) {
        std::printf("message: %s\n", text.toUtf8().constData());
        return true;
    });
    std::printf("%-14s %9s %9s %12s %10s %9s %11s %11s %10s\n", "picture", "blit", "move",
                "handler", "panel", "move/blit", "tick", "max event", "slices");

    Blit blit;
    blit.setGeometry(0, 0, 1920, 1080);
    showExposed(blit);
    const double warmBlitMs = medianMs(41, [&] { blit.repaint(); });
    // A move paints a picture that the preload made long before, and the
    // preload's decoding has pushed it out of the caches since: compare with
    // a blit from cold memory too.
    std::vector<char> evict(256u << 20, 1);
    std::vector<double> coldBlits;
    for (int i = 0; i < 21; ++i) {
        for (std::size_t k = 0; k < evict.size(); k += 64)
            evict[k] = static_cast<char>(evict[k] + 1);
        QElapsedTimer timer;
        timer.start();
        blit.repaint();
        coldBlits.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(coldBlits.begin(), coldBlits.end());
    const double blitMs = coldBlits[coldBlits.size() / 2];
    std::printf("plain blit of 1920 x 1080: warm %.2f ms, from cold memory %.2f ms\n", warmBlitMs,
                blitMs);

    const struct {
        const char* name;
        int w, h;
        bench::Kind kind;
    } sizes[] = {{"12 MP", 4240, 2832, bench::Kind::colour},
                 {"24 MP", 6000, 4000, bench::Kind::colour},
                 {"45 MP", 8256, 5504, bench::Kind::colour},
                 {"24 MP grey", 6000, 4000, bench::Kind::grey},
                 {"24 MP progr.", 6000, 4000, bench::Kind::progressive}};
    for (const auto& size : sizes) {
        QTemporaryDir folder;
        for (int i = 0; i < 3; ++i)
            bench::writePhoto(folder.filePath(QStringLiteral("bild%1.jpg").arg(i)).toStdString(),
                              size.w, size.h, 90, unsigned(i), size.kind);
        QFile weighting(folder.filePath(QStringLiteral("Qel.max")));
        weighting.open(QIODevice::WriteOnly);
        for (int n = 0; n < 15; ++n)
            weighting.write(QStringLiteral("5 Kriterium %1\r\n").arg(n + 1).toLatin1());
        weighting.close();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());

        TScreenForm form;
        Controller controller(form, boxes);
        controller.FormCreate();
        form.setGeometry(0, 0, 1920, 1080);
        showExposed(form);
        controller.pictureShow().FirstPictureTimerTimer();
        controller.pictureShow().finishSlices();
        form.repaint();

        // Forward and back between pictures 0 and 1, each move after its
        // preload tick, as when the judge takes a moment per picture.
        std::vector<double> moves;
        std::vector<double> handlers;
        std::vector<double> ticks;
        double longestEvent = 0;
        int slices = 0;
        for (int i = 0; i < 12; ++i) {
            QElapsedTimer tick;
            tick.start();
            controller.pictureShow().LoadTimerTimer();
            ticks.push_back(static_cast<double>(tick.nsecsElapsed()) / 1e6);
            // The decode goes on between events: each turn of the loop is
            // the longest an input event could wait.
            while (controller.pictureShow().slicing()) {
                QElapsedTimer turn;
                turn.start();
                QCoreApplication::processEvents();
                longestEvent =
                    std::max(longestEvent, static_cast<double>(turn.nsecsElapsed()) / 1e6);
                ++slices;
            }
            const bool forward = i % 2 == 0;
            QElapsedTimer timer;
            timer.start();
            forward ? controller.vor() : controller.zurueck();
            const qint64 handler = timer.nsecsElapsed();
            // The window paints what the move made dirty.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
            moves.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            handlers.push_back(static_cast<double>(handler) / 1e6);
        }
        std::sort(moves.begin(), moves.end());
        const double moveMs = moves[moves.size() / 2];
        std::sort(handlers.begin(), handlers.end());

        const double panelMs = medianMs(21, [&] { form.QelPanel_()->repaint(); });
        std::sort(ticks.begin(), ticks.end());
        std::printf("%-14s %6.2f ms %6.2f ms %9.2f ms %7.2f ms %9.2f %8.2f ms %8.2f ms %10d\n",
                    size.name, blitMs, moveMs, handlers[handlers.size() / 2], panelMs,
                    moveMs / blitMs, ticks[ticks.size() / 2], longestEvent, slices / 12);
        QDir::setCurrent(previous);
    }
    return 0;
}
