// The organiser's window on 500 pictures of 24 megapixels and 5 judges:
// the first reading with an empty thumbnail cache (the table, the first
// visible row's thumbnail, all thumbnails, the files), its memory, and the
// time from a judge's save (a new .qel renamed over the old one) to the
// updated table and to the files written again. The pictures are hard
// links of one file, so every read comes from the page cache.
// `bench_evaluation_window [PICTURES]`: another number of pictures;
// `bench_evaluation_window PICTURES small`: pictures of 1600 x 1067, only
// the first reading and its peak memory (compare two numbers for the
// growth per picture).

#include "bench/SyntheticPhoto.h"
#include "evaluation/window/Window.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int pictureCount = 500; // the command line may change it
int width = 6000, height = 4000;
constexpr int kJudges = 5;
constexpr int kSaves = 7;
constexpr char kQelMax[] = "5 Idee\r\n5 Spannung\r\n4 Stimmung\r\n3 Original\r\n0 \r\n"
                           "5 Schaerfe\r\n4 Licht\r\n3 Farbe\r\n3 Bearbeitung\r\n0 \r\n"
                           "5 Aufbau\r\n4 Linien\r\n3 Licht\r\n3 Schnitt\r\n0 \r\n";

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// VmRSS or VmHWM of this process in MiB.
double memoryMiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string key; status >> key;) {
        long kB = 0;
        if (key == field && status >> kB)
            return double(kB) / 1024.0;
    }
    return -1;
}

std::string pictureName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "Bild %04d.jpg", i);
    return name;
}

// A judge's file as the judging program saves it: written beside, renamed over.
void saveJudge(const fs::path& folder, int judge, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> digit(1, 5);
    const fs::path scratch = folder / ".neu.qel";
    {
        std::ofstream qel(scratch, std::ios::binary);
        for (int i = 0; i < pictureCount; ++i) {
            for (int n = 0; n < 15; ++n)
                qel << (n % 5 == 4 ? 0 : digit(random));
            qel << "-" << pictureName(i) << "\r\n";
        }
    }
    fs::rename(scratch, folder / ("Bewerter " + std::to_string(judge + 1) + ".qel"));
}

void makeFolder(const fs::path& folder)
{
    const fs::path original = folder / pictureName(0);
    bench::writePhoto(original.string(), width, height, 90);
    for (int i = 1; i < pictureCount; ++i)
        fs::create_hard_link(original, folder / pictureName(i));
    std::ofstream(folder / "Qel.max", std::ios::binary) << kQelMax;
    for (int j = 0; j < kJudges; ++j)
        saveJudge(folder, j, 7u + unsigned(j));
}

// Runs the event loop until `signal` of `sender` fires.
template <typename Sender, typename Signal> void waitFor(const Sender* sender, Signal signal)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(120'000, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

// How many rows of the table have their thumbnail.
int rowsWithThumbnail(const QAbstractItemModel& table)
{
    int rows = 0;
    for (int row = 0; row < table.rowCount(); ++row)
        rows += !table.index(row, 1).data(Qt::DecorationRole).value<QImage>().isNull();
    return rows;
}

int main(int argc, char** argv)
{
    if (argc > 1)
        pictureCount = std::max(1, std::atoi(argv[1]));
    const bool small = argc > 2 && std::string(argv[2]) == "small";
    if (small) {
        width = 1600;
        height = 1067;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    char folderName[] = "/tmp/bench_evaluation_windowXXXXXX";
    if (!::mkdtemp(folderName))
        return 1;
    const fs::path folder = folderName;
    // The thumbnails' disk cache of this bench, not the user's.
    const fs::path cache = folder.string() + "-cache";
    fs::create_directory(cache);
    ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    makeFolder(folder);
    std::printf("%d pictures (hard links of one %d x %d JPEG), %d judges, %u cores\n", pictureCount,
                width, height, kJudges, std::thread::hardware_concurrency());
    std::printf("before the window: resident %.0f MiB\n", memoryMiB("VmRSS:"));

    auto start = Clock::now();
    evaluation::EvaluationWindow window(folder.string());
    const QAbstractItemModel* table =
        window.findChild<QTableView*>(QStringLiteral("Rangliste"))->model();
    window.show();
    waitFor(table, &QAbstractItemModel::modelReset);
    const double tableMs = millisecondsSince(start);
    std::printf("with the table, before the thumbnails: resident %.0f MiB\n", memoryMiB("VmRSS:"));
    // The thumbnails as they come: the first visible row's (the top one),
    // then all of them; each batch is one change of the thumbnail column.
    double firstMs = -1, allMs = -1;
    int batches = 0;
    bool finished = false;
    {
        QEventLoop loop;
        QObject::connect(
            table, &QAbstractItemModel::dataChanged, &loop,
            [&](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (roles != QList<int>{Qt::DecorationRole})
                    return;
                ++batches;
                if (firstMs < 0 &&
                    !table->index(0, 1).data(Qt::DecorationRole).value<QImage>().isNull())
                    firstMs = millisecondsSince(start);
                if (rowsWithThumbnail(*table) == table->rowCount()) {
                    allMs = millisecondsSince(start);
                    loop.quit();
                }
            });
        QObject::connect(&window, &evaluation::EvaluationWindow::readingFinished, &loop, [&] {
            finished = true;
            loop.quit();
        });
        loop.exec();
    }
    std::printf("first reading: table after %.0f ms; the first visible row's thumbnail %.0f ms "
                "after the table (target: at most 1000 ms), all %d after %.0f ms, in %d batches\n",
                tableMs, firstMs - tableMs, rowsWithThumbnail(*table), allMs - tableMs, batches);
    if (!finished)
        waitFor(&window, &evaluation::EvaluationWindow::readingFinished);
    std::printf("first reading: files after %.0f ms\n", millisecondsSince(start));
    std::printf("window with %d pictures: resident %.0f MiB, peak %.0f MiB (target: at most "
                "300 MiB)\n",
                table->rowCount(), memoryMiB("VmRSS:"), memoryMiB("VmHWM:"));
    if (small) {
        fs::remove_all(folder);
        fs::remove_all(cache);
        return 0;
    }

    // A judge saves; the table follows, then the files. The 200 ms the
    // watcher waits for a burst of events to settle are included.
    double worstTable = 0, worstFiles = 0;
    for (int save = 0; save < kSaves; ++save) {
        saveJudge(folder, save % kJudges, 100u + unsigned(save));
        start = Clock::now();
        waitFor(table, &QAbstractItemModel::dataChanged);
        const double tableMsNow = millisecondsSince(start);
        waitFor(&window, &evaluation::EvaluationWindow::readingFinished);
        const double filesMs = millisecondsSince(start);
        std::printf("save %d: table updated after %.0f ms, files written after %.0f ms\n", save + 1,
                    tableMsNow, filesMs);
        worstTable = std::max(worstTable, tableMsNow);
        worstFiles = std::max(worstFiles, filesMs);
    }
    std::printf("after %d saves: worst table %.0f ms, worst files %.0f ms (target: within "
                "1000 ms); resident %.0f MiB, peak %.0f MiB\n",
                kSaves, worstTable, worstFiles, memoryMiB("VmRSS:"), memoryMiB("VmHWM:"));

    // The look every 2 s that finds saves no file event tells of (a share).
    constexpr int kLooks = 20;
    start = Clock::now();
    for (int look = 0; look < kLooks; ++look)
        evaluation::rankingInputs(folder.string());
    std::printf("one look at the folder's %d inputs: %.2f ms\n", pictureCount + kJudges + 1,
                millisecondsSince(start) / kLooks);

    // The window opened again on the unchanged folder: its thumbnails come
    // from the disk cache.
    start = Clock::now();
    {
        evaluation::EvaluationWindow again(folder.string());
        again.show();
        waitFor(&again, &evaluation::EvaluationWindow::readingFinished);
        std::printf("the window opened again on the unchanged folder: table, thumbnails and "
                    "files after %.0f ms (target: at most 1000 ms)\n",
                    millisecondsSince(start));
    }
    fs::remove_all(folder);
    fs::remove_all(cache);
    for (const char* suffix : {" Rangliste.csv", " Rangliste.pdf", " Rangliste.html"})
        fs::remove(folder.string() + suffix); // written beside the folder
    return 0;
}
