// Start to the first picture on screen, as main() runs the program: the
// window, the first-picture timer (100 ms, as defined) and the first paint
// of the picture, in one process on a 1920 x 1080 offscreen screen. Each
// size runs in a fresh child process so nothing is warm but the file cache.
#include "Viewer/MessageBoxes.h"
#include "Viewer/PictureFrame.h"
#include "Viewer/TScreenForm.h"
#include "app/Application.h"
#include "app/Controller.h"
#include "bench/SyntheticPhoto.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Notes the first paint of `Bild` with a picture in it.
class FirstPaint : public QObject {
  public:
    FirstPaint(PictureFrame& frame, const QElapsedTimer& clock, double& shownMs)
        : frame_(frame), clock_(clock), shownMs_(shownMs)
    {
    }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && frame_.picture().width() > 0 && shownMs_ < 0) {
            frame_.bild()->removeEventFilter(this);
            QObject::eventFilter(object, event);
            shownMs_ = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
            QCoreApplication::quit();
        }
        return false;
    }

  private:
    PictureFrame& frame_;
    const QElapsedTimer& clock_;
    double& shownMs_;
};

double startToPicture(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    messagebox::Boxes boxes([](messagebox::Kind, const QString& text) {
        std::printf("message: %s\n", text.toUtf8().constData());
        return true;
    });
    Application application(argc, argv, boxes);
    TScreenForm form;
    Controller controller(form, boxes);
    controller.FormCreate();
    double shownMs = -1;
    FirstPaint watch(*form.Rahmen(), clock, shownMs);
    form.Rahmen()->bild()->installEventFilter(&watch);
    form.showOnWholeScreen();
    application.exec();
    return shownMs;
}

// The program's resident memory in MiB: now and at its peak.
std::pair<double, double> residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    double now = 0, peak = 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() >= 2 && parts[0] == "VmRSS:")
            now = parts[1].toDouble() / 1024;
        if (parts.size() >= 2 && parts[0] == "VmHWM:")
            peak = parts[1].toDouble() / 1024;
    }
    return {now, peak};
}

// The judge moves back and forth through the folder, each move after its
// preload has finished: the window holds three pictures and their
// stretched images.
void memoryOfMoves(int argc, char** argv, int pictures)
{
    messagebox::Boxes boxes([](messagebox::Kind, const QString&) { return true; });
    Application application(argc, argv, boxes);
    TScreenForm form;
    Controller controller(form, boxes);
    controller.FormCreate();
    form.showOnWholeScreen();
    QCoreApplication::processEvents();
    controller.pictureShow().FirstPictureTimerTimer();
    controller.pictureShow().finishSlices();
    for (int i = 0; i < 2 * (pictures - 1); ++i) {
        controller.pictureShow().LoadTimerTimer();
        controller.pictureShow().finishSlices();
        i < pictures - 1 ? controller.vor() : controller.zurueck();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        form.repaint();
    }
    controller.pictureShow().LoadTimerTimer();
    controller.pictureShow().finishSlices();
    const auto [now, peak] = residentMiB();
    std::printf("45 MP, %d pictures, %d moves: resident %.1f MiB, peak %.1f MiB\n", pictures,
                2 * (pictures - 1), now, peak);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen:size=1920x1080");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const struct {
        const char* name;
        int w, h;
    } sizes[] = {{"12 MP", 4240, 2832}, {"24 MP", 6000, 4000}, {"45 MP", 8256, 5504}};
    std::printf("%-8s %s\n", "picture", "start to first picture on screen (5 runs)");
    for (const auto& size : sizes) {
        QTemporaryDir folder;
        for (int i = 0; i < 2; ++i)
            bench::writePhoto(folder.filePath(QStringLiteral("bild%1.jpg").arg(i)).toStdString(),
                              size.w, size.h, 90, unsigned(i));
        QFile weighting(folder.filePath(QStringLiteral("Qel.max")));
        weighting.open(QIODevice::WriteOnly);
        for (int n = 0; n < 15; ++n)
            weighting.write(QStringLiteral("5 Kriterium %1\r\n").arg(n + 1).toLatin1());
        weighting.close();
        std::printf("%-8s", size.name);
        for (int run = 0; run < 5; ++run) {
            int pipe[2];
            if (::pipe(pipe) != 0)
                return 1;
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(pipe[0]);
                QDir::setCurrent(folder.path());
                const double ms = startToPicture(argc, argv);
                (void)!::write(pipe[1], &ms, sizeof ms);
                _exit(0);
            }
            ::close(pipe[1]);
            double ms = -1;
            (void)!::read(pipe[0], &ms, sizeof ms);
            ::close(pipe[0]);
            ::waitpid(child, nullptr, 0);
            std::printf(" %7.1f ms", ms);
        }
        std::printf("\n");
    }

    // Memory: three 45 MP bitmaps are 3 x 130.0 MiB; the budget is that
    // plus 64 MiB, 454.0 MiB.
    QTemporaryDir folder;
    constexpr int kPictures = 5;
    for (int i = 0; i < kPictures; ++i)
        bench::writePhoto(folder.filePath(QStringLiteral("bild%1.jpg").arg(i)).toStdString(), 8256,
                          5504, 90, unsigned(i));
    const pid_t child = ::fork();
    if (child == 0) {
        QDir::setCurrent(folder.path());
        memoryOfMoves(argc, argv, kPictures);
        _exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return 0;
}
