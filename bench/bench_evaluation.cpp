// bildbewertung-auswertung on 500 pictures of 24 megapixels and 5 judges:
// the whole evaluation including Rangliste.pdf, its parts, and one
// thumbnail (DCT scaling) against the judging program's full decode of the
// same picture. The pictures are hard links of one file, so every read
// comes from the page cache.

#include "bench/SyntheticPhoto.h"
#include "evaluation/Folder.h"
#include "evaluation/PdfReport.h"
#include "evaluation/Run.h"
#include "evaluation/Thumbnail.h"
#include "pictures/Picture.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPictures = 500;
constexpr int kJudges = 5;
constexpr char kQelMax[] = "5 Idee\r\n5 Spannung\r\n4 Stimmung\r\n3 Original\r\n0 \r\n"
                           "5 Schaerfe\r\n4 Licht\r\n3 Farbe\r\n3 Bearbeitung\r\n0 \r\n"
                           "5 Aufbau\r\n4 Linien\r\n3 Licht\r\n3 Schnitt\r\n0 \r\n";

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::string loadAverage()
{
    std::string one;
    std::ifstream("/proc/loadavg") >> one;
    return one;
}

std::string pictureName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "Bild %03d.jpg", i);
    return name;
}

void makeFolder(const fs::path& folder)
{
    const fs::path original = folder / pictureName(0);
    bench::writePhoto(original.string(), 6000, 4000, 90);
    for (int i = 1; i < kPictures; ++i)
        fs::create_hard_link(original, folder / pictureName(i));
    std::ofstream(folder / "Qel.max", std::ios::binary) << kQelMax;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> digit(1, 5);
    for (int j = 0; j < kJudges; ++j) {
        std::ofstream qel(folder / ("Bewerter " + std::to_string(j + 1) + ".qel"),
                          std::ios::binary);
        for (int i = 0; i < kPictures; ++i) {
            for (int n = 0; n < 15; ++n)
                qel << (n % 5 == 4 ? 0 : digit(random));
            qel << "-" << pictureName(i) << "\r\n";
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    char folderName[] = "/tmp/bench_evaluationXXXXXX";
    if (!::mkdtemp(folderName))
        return 1;
    const fs::path folder = folderName;
    makeFolder(folder);
    const std::string picture = (folder / pictureName(0)).string();
    std::printf("%d pictures (hard links of one 6000 x 4000 JPEG, %.1f MB), %d judges, %u cores\n",
                kPictures, double(fs::file_size(picture)) / 1e6, kJudges,
                std::thread::hardware_concurrency());

    // One picture: thumbnail against the judging program's full decode.
    std::vector<double> thumbnails, decodes;
    evaluation::Thumbnail thumbnail;
    for (int round = 0; round < 5; ++round) {
        auto start = Clock::now();
        thumbnail = evaluation::readThumbnail(picture, evaluation::kThumbnailSide);
        thumbnails.push_back(millisecondsSince(start));
        start = Clock::now();
        const pictures::Picture full = pictures::Picture::load(picture);
        full.decode();
        decodes.push_back(millisecondsSince(start));
    }
    const double thumbnailMs = median(thumbnails), decodeMs = median(decodes);
    std::printf("thumbnail (1/%d DCT scaling, %d x %d): median %.1f ms; full decode (Picture::load "
                "+ decode): median %.1f ms; ratio 1/%.1f (target: at most 1/8)\n",
                thumbnail.scaleDenominator, thumbnail.width, thumbnail.height, thumbnailMs,
                decodeMs, decodeMs / thumbnailMs);

    // The parts, then the whole run as the program does it.
    auto start = Clock::now();
    const evaluation::FolderResult result = evaluation::evaluateFolder(folder.string());
    const double readMs = millisecondsSince(start);
    start = Clock::now();
    std::vector<QImage> images(kPictures);
    evaluation::parallelFor(images.size(), [&](std::size_t i) {
        const auto t = evaluation::readThumbnail((folder / pictureName(int(i))).string(),
                                                 evaluation::kThumbnailSide);
        images[i] = QImage(t.pixels.data(), t.width, t.height, qsizetype(t.width) * 3,
                           QImage::Format_RGB888)
                        .scaled(evaluation::kThumbnailSide, evaluation::kThumbnailSide,
                                Qt::KeepAspectRatio, Qt::SmoothTransformation);
    });
    const double thumbnailsMs = millisecondsSince(start);
    start = Clock::now();
    const QByteArray pdf = evaluation::rankingPdf(evaluation::buildReport(result.evaluation),
                                                  images, {"Bench", "heute"});
    const double pdfMs = millisecondsSince(start);
    std::printf("parts: reading and matching %.0f ms, %d thumbnails %.0f ms, PDF %.0f ms "
                "(%.1f MB)\n",
                readMs, kPictures, thumbnailsMs, pdfMs, double(pdf.size()) / 1e6);

    // Other work on the machine stretches the wall time; the processor time
    // and the load average show how much.
    for (int round = 1; round <= 2; ++round) {
        std::ostringstream out, err;
        const std::string load = loadAverage();
        const double cpuBefore = cpuSeconds();
        start = Clock::now();
        const int code = evaluation::evaluate(folder.string(), out, err);
        const double wholeMs = millisecondsSince(start);
        std::printf("whole evaluation, run %d: %.2f s wall, %.2f s processor time (exit %d; "
                    "load average before: %s; target: at most 10 s on 2 cores)\n",
                    round, wholeMs / 1000, cpuSeconds() - cpuBefore, code, load.c_str());
    }
    fs::remove_all(folder);
    return 0;
}
