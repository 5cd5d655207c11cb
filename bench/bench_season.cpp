// The results evening's organiser files, two figures (target: each within 5 s):
//   certificates  10 places from pictures of 24 MP: the folder read, each
//                 original decoded for print and the PDF written;
//   season        12 competitions of 200 pictures, 3 judges and an entrant
//                 list each: every folder read and ranked, the standings
//                 written as CSV, PDF and page (no picture decoded).
// Every picture is a hard link of one file, read from the page cache.
#include "bench/SyntheticPhoto.h"
#include "evaluation/outputs/Certificates.h"
#include "evaluation/outputs/SeasonOutputs.h"
#include "evaluation/ranking/Season.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kQelMax[] = "5 Idee\r\n5 Spannung\r\n4 Stimmung\r\n3 Original\r\n0 \r\n"
                           "5 Schaerfe\r\n4 Licht\r\n3 Farbe\r\n3 Bearbeitung\r\n0 \r\n"
                           "5 Aufbau\r\n4 Linien\r\n3 Licht\r\n3 Schnitt\r\n0 \r\n";

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor seconds of this process, all threads: other work on the
// machine stretches wall time, not these.
double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A competition of `pictures` links to `photo`, three judges with points
// spread so that places differ, and its entrant list beside it: 40 authors.
void makeCompetition(const fs::path& folder, const fs::path& photo, int pictures, int seed)
{
    fs::create_directories(folder);
    std::ofstream(folder / "Qel.max", std::ios::binary) << kQelMax;
    std::ofstream list(folder.parent_path() / (folder.filename().string() + " Teilnehmer.csv"),
                       std::ios::binary);
    list << "Datei;Titel;Autor\r\n";
    for (int p = 0; p < pictures; ++p) {
        const std::string name = "bild" + std::to_string(p) + ".jpg";
        fs::create_hard_link(photo, folder / name);
        list << name << ";Titel " << p << ";Autor " << (p * 7 + seed) % 40 << "\r\n";
    }
    for (int j = 0; j < 3; ++j) {
        std::ofstream qel(folder / ("Bewerter " + std::to_string(j) + ".qel"), std::ios::binary);
        for (int p = 0; p < pictures; ++p) {
            std::string digits(15, '0');
            for (std::size_t c = 0; c < 15; c += 5)
                for (int k = 0; k < 4; ++k)
                    digits[c + std::size_t(k)] = char('0' + (p * 3 + j * 5 + k + seed) % 4);
            qel << digits << "-bild" << p << ".jpg\r\n";
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const fs::path work = fs::temp_directory_path() / ("bench_season_" + std::to_string(getpid()));
    fs::create_directories(work);
    const fs::path photo = work / "photo.jpg";
    bench::writePhoto(photo.string(), 6000, 4000);

    // Ten pictures, each with a place of its own or a shared one: ten pages.
    const fs::path evening = work / "Abend";
    makeCompetition(evening, photo, 10, 0);
    auto start = Clock::now();
    double cpu = cpuSeconds();
    const auto written = evaluation::writeCertificates(evening.string(), "Fotoclub", 10);
    const double certificates = secondsSince(start);
    std::printf("certificates  %zu pages of 24 MP pictures: %.2f s (processor %.2f s; %s)\n",
                written.pages, certificates, cpuSeconds() - cpu,
                written.failure.empty() ? "written" : written.failure.c_str());

    std::vector<std::string> folders;
    for (int c = 0; c < 12; ++c) {
        const fs::path folder = work / ("Wettbewerb " + std::to_string(c + 1));
        makeCompetition(folder, photo, 200, c);
        folders.push_back(folder.string());
    }
    start = Clock::now();
    cpu = cpuSeconds();
    const evaluation::Season season =
        evaluation::readSeason(folders, *evaluation::parseSeasonRule(""));
    const double read = secondsSince(start);
    const std::string failure = evaluation::writeSeason(work.string(), season);
    const double total = secondsSince(start);
    std::printf("season        12 x 200 pictures, %zu authors, %zu left out: read %.2f s, "
                "with the three files %.2f s (processor %.2f s)%s\n",
                season.rows.size(), season.problems.size(), read, total, cpuSeconds() - cpu,
                failure.empty() ? "" : (" – " + failure).c_str());
    fs::remove_all(work);
    return written.failure.empty() && failure.empty() && season.problems.empty() ? 0 : 1;
}
