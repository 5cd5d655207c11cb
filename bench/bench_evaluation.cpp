// bildbewertung-auswertung, four figures, each phase in a child process of
// its own (its peak memory is the child's):
//   first    200 pictures of 24 MP, 3 judges: the whole evaluation (thumbnails
//            on all cores, CSV, PDF, page) beside `djpeg -scale 1/8` run on
//            all cores over the same files (target: within 1.05x);
//   rescore  500 pictures: after one .qel changed, the ranking again without
//            decoding (target: 0.5 s), and with the three files written;
//   crafted  2,000 copies of a 12 KB greyscale progressive file declaring
//            15000 x 15000 with 999 empty scans (target: 3 s, 300 MiB);
//   memory   the whole first evaluation of 200, 2,000 and 5,000 small
//            pictures (1600 x 1067): peak memory (target: below 250 MB at
//            5,000) and its growth per picture (target: at most 40 KB).
// `bench_evaluation memory` runs only the last (any phase can be named).
// The pictures are hard links of one file, so every read comes from the page
// cache for both programs.
#include "bench/SyntheticPhoto.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Report.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<unsigned char>;

constexpr char kQelMax[] = "5 Idee\r\n5 Spannung\r\n4 Stimmung\r\n3 Original\r\n0 \r\n"
                           "5 Schaerfe\r\n4 Licht\r\n3 Farbe\r\n3 Bearbeitung\r\n0 \r\n"
                           "5 Aufbau\r\n4 Linien\r\n3 Licht\r\n3 Schnitt\r\n0 \r\n";

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor seconds of this process (RUSAGE_SELF) or of its waited-for
// children (RUSAGE_CHILDREN): other work on the machine stretches wall time,
// not these.
double cpuSeconds(int who)
{
    rusage usage{};
    ::getrusage(who, &usage);
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
    std::snprintf(name, sizeof name, "Bild %04d.jpg", i);
    return name;
}

void writeJudges(const fs::path& folder, int pictures, int judges, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> digit(1, 5);
    for (int j = 0; j < judges; ++j) {
        std::ofstream qel(folder / ("Bewerter " + std::to_string(j + 1) + ".qel"),
                          std::ios::binary);
        for (int i = 0; i < pictures; ++i) {
            for (int n = 0; n < 15; ++n)
                qel << (n % 5 == 4 ? 0 : digit(random));
            qel << "-" << pictureName(i) << "\r\n";
        }
    }
}

// The folder and the three files written beside it.
void removeFolder(const fs::path& folder)
{
    fs::remove_all(folder);
    for (const char* suffix : {" Rangliste.csv", " Rangliste.pdf", " Rangliste.html"})
        fs::remove(folder.string() + suffix);
}

// `count` hard links of `original`, Qel.max and three judges.
fs::path makeFolder(const char* tag, const fs::path& original, int count)
{
    fs::path folder = fs::temp_directory_path() /
                      ("bench_evaluation-" + std::string(tag) + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i)
        fs::create_hard_link(original, folder / pictureName(i));
    std::ofstream(folder / "Qel.max", std::ios::binary) << kQelMax;
    writeJudges(folder, count, 3, 7);
    return folder;
}

double residentMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string key; status >> key;) {
        long kB = 0;
        if (key == "VmRSS:" && status >> kB)
            return double(kB) / 1024.0;
    }
    return -1;
}

fs::path photo()
{
    fs::path file = fs::temp_directory_path() /
                    ("bench_evaluation-photo-" + std::to_string(::getpid()) + ".jpg");
    bench::writePhoto(file.string(), 6000, 4000, 90);
    return file;
}

int evaluateQuietly(const fs::path& folder)
{
    std::ostringstream out, err;
    return evaluation::evaluate(folder.string(), out, err);
}

void first()
{
    const fs::path original = photo();
    const fs::path folder = makeFolder("first", original, 200);
    std::printf("first evaluation: 200 pictures of 6000 x 4000 (%.1f MB each), 3 judges, %u "
                "cores, load average %s\n",
                double(fs::file_size(original)) / 1e6, std::thread::hardware_concurrency(),
                loadAverage().c_str());
    const std::string djpeg = "cd '" + folder.string() + "' && ls *.jpg | xargs -d '\\n' -P " +
                              std::to_string(std::thread::hardware_concurrency()) +
                              " -n 1 djpeg -scale 1/8 -outfile /dev/null";
    for (int round = 1; round <= 2; ++round) {
        const std::string load = loadAverage();
        double cpu = cpuSeconds(RUSAGE_CHILDREN);
        auto start = Clock::now();
        const int djpegStatus = std::system(djpeg.c_str());
        const double djpegSeconds = secondsSince(start);
        const double djpegCpu = cpuSeconds(RUSAGE_CHILDREN) - cpu;
        cpu = cpuSeconds(RUSAGE_SELF);
        start = Clock::now();
        const int code = evaluateQuietly(folder);
        const double ours = secondsSince(start);
        const double oursCpu = cpuSeconds(RUSAGE_SELF) - cpu;
        std::printf("  round %d (load %s): djpeg -scale 1/8 on all cores %.2f s wall, %.2f s "
                    "processor (status %d); whole evaluation %.2f s wall, %.2f s processor "
                    "(exit %d): %.2fx djpeg wall, %.2fx processor (target: at most 1.05x)\n",
                    round, load.c_str(), djpegSeconds, djpegCpu, djpegStatus, ours, oursCpu, code,
                    ours / djpegSeconds, oursCpu / djpegCpu);
        if (round == 2)
            std::printf("  round 2 is a second run: its thumbnails come from the disk cache "
                        "(target: at most 0.5 s)\n");
    }
    removeFolder(folder);
    fs::remove(original);
}

void rescore()
{
    const fs::path original = photo();
    const fs::path folder = makeFolder("rescore", original, 500);
    auto start = Clock::now();
    evaluation::ThumbnailStore store;
    evaluation::FolderResult result = evaluation::evaluateFolder(folder.string());
    const double before = residentMiB();
    store.update(folder.string(), result.evaluation.pictures);
    std::printf("rescore: 500 pictures of 6000 x 4000, 3 judges; first reading with thumbnails "
                "%.2f s\n",
                secondsSince(start));
    std::size_t jpegBytes = 0;
    for (const evaluation::Thumbnail* thumbnail : store.findAll(result.evaluation.pictures))
        jpegBytes += thumbnail ? thumbnail->pageJpeg.size() + thumbnail->printJpeg.size() : 0;
    const double grown = residentMiB() - before;
    // A second store of the same pictures, from the disk cache: what holding
    // them costs, without the decoders' buffers of the first reading.
    const double beforeCached = residentMiB();
    evaluation::ThumbnailStore cached;
    start = Clock::now();
    cached.update(folder.string(), result.evaluation.pictures);
    const double cachedSeconds = secondsSince(start);
    std::printf("  per picture held: %.1f KB of JPEGs; resident memory grew %.1f KB with the "
                "first reading, %.1f KB with a second store read from the disk cache in %.2f s "
                "(target: at most 40 KB)\n",
                double(jpegBytes) / 500 / 1e3, grown * 1024 * 1.024 / 500,
                (residentMiB() - beforeCached) * 1024 * 1.024 / 500, cachedSeconds);
    writeJudges(folder, 500, 1, 99); // "Bewerter 1.qel" saved again
    start = Clock::now();
    result = evaluation::evaluateFolder(folder.string());
    std::size_t decoded = 0;
    store.update(folder.string(), result.evaluation.pictures,
                 [&decoded](std::size_t, std::size_t) { ++decoded; });
    store.addProblems(result.evaluation);
    const evaluation::Report report = evaluation::buildReport(result.evaluation);
    const double rescored = secondsSince(start);
    const auto outputs = evaluation::writeOutputs(folder.string(), report,
                                                  store.findAll(result.evaluation.pictures));
    const double written = secondsSince(start);
    std::printf("  after one .qel changed: ranking again %.3f s (%zu pictures decoded; target: "
                "0.5 s); with Rangliste.csv, .pdf and .html written %.2f s (%s)\n",
                rescored, decoded, written,
                outputs.empty() || !outputs[0].failure.empty() ? "failed" : "written");
    removeFolder(folder);
    fs::remove(original);
}

// A 16 x 16 greyscale progressive JPEG whose first scan is repeated to 999
// scans and whose frame then claims 15000 x 15000: the scans find no data.
Bytes craftedJpeg()
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = info.image_height = 16;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(16, 128);
    for (int y = 0; y < 16; ++y) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes jpeg(buffer, buffer + size);
    std::free(buffer);

    const auto find = [&jpeg](unsigned char code) {
        for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
            if (jpeg[i] == 0xFF && jpeg[i + 1] == code)
                return i;
        return std::size_t(0);
    };
    const std::size_t sos = find(0xDA);
    std::size_t end = sos + 2 + std::size_t(jpeg[sos + 2] << 8 | jpeg[sos + 3]);
    while (!(jpeg[end] == 0xFF && jpeg[end + 1] != 0))
        ++end;
    const Bytes scan(jpeg.begin() + long(sos), jpeg.begin() + long(end));
    int scans = 0;
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
        scans += jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA;
    for (; scans < 999; ++scans)
        jpeg.insert(jpeg.begin() + long(sos), scan.begin(), scan.end());
    const std::size_t sof = find(0xC2);
    for (const std::size_t at : {sof + 5, sof + 7}) {
        jpeg[at] = 15000 >> 8;
        jpeg[at + 1] = 15000 & 0xFF;
    }
    return jpeg;
}

void crafted()
{
    const Bytes jpeg = craftedJpeg();
    const fs::path original = fs::temp_directory_path() /
                              ("bench_evaluation-crafted-" + std::to_string(::getpid()) + ".jpg");
    std::ofstream(original, std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
    const fs::path folder = makeFolder("crafted", original, 2000);
    const auto start = Clock::now();
    std::ostringstream out, err;
    const int code = evaluation::evaluate(folder.string(), out, err);
    const double seconds = secondsSince(start);
    const std::string problems = err.str();
    const std::size_t unreadable = std::size_t(std::count(problems.begin(), problems.end(), '\n'));
    std::printf("crafted: 2000 copies of a %zu B greyscale progressive 15000 x 15000 file with "
                "999 scans: %.2f s (exit %d, %zu problem lines; target: 3 s)\n",
                jpeg.size(), seconds, code, unreadable);
    removeFolder(folder);
    fs::remove(original);
}

// The whole first evaluation of `count` small pictures, with an empty cache.
void memory(int count)
{
    const fs::path original = fs::temp_directory_path() /
                              ("bench_evaluation-small-" + std::to_string(::getpid()) + ".jpg");
    bench::writePhoto(original.string(), 1600, 1067, 90);
    const fs::path folder = makeFolder("memory", original, count);
    const auto start = Clock::now();
    const int code = evaluateQuietly(folder);
    std::printf("memory: %d pictures of 1600 x 1067 (%.0f KB each), first evaluation %.1f s "
                "(exit %d)\n",
                count, double(fs::file_size(original)) / 1e3, secondsSince(start), code);
    fs::remove_all(folder);
    fs::remove(original);
}

// Runs one phase in a child process, with a disk cache of its own, and
// returns its peak memory in bytes.
double inChild(const char* self, const std::string& phase, const std::string& count = {})
{
    std::string cache = (fs::temp_directory_path() / "bench_evaluation-cache-XXXXXX").string();
    if (!::mkdtemp(cache.data()))
        return -1;
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        // The thumbnails' disk cache of the phase, not the user's.
        ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
        ::execl(self, self, "--child", phase.c_str(), count.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    fs::remove_all(cache);
    const double peak = double(usage.ru_maxrss) * 1024.0;
    std::printf("  %s %s: peak memory %.1f MB (%.1f MiB)%s\n", phase.c_str(), count.c_str(),
                peak / 1e6, peak / 1048576.0,
                phase == "crafted" ? " (target: 300 MiB)"
                : count == "5000"  ? " (target: below 250 MB)"
                                   : "");
    return peak;
}

void memorySeries(const char* self)
{
    const double small = inChild(self, "memory", "200");
    const double large = inChild(self, "memory", "2000");
    inChild(self, "memory", "5000");
    std::printf("  growth from 200 to 2,000 pictures: %.1f KB per picture (target: at most "
                "40 KB)\n",
                (large - small) / 1800 / 1e3);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || std::strcmp(argv[1], "--child") != 0) {
        std::vector<std::string> phases(argv + 1, argv + argc);
        if (phases.empty())
            phases = {"first", "rescore", "crafted", "memory"};
        for (const std::string& phase : phases)
            if (phase == "memory")
                memorySeries("/proc/self/exe");
            else
                inChild("/proc/self/exe", phase);
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string phase = argv[2];
    if (phase == "first")
        first();
    else if (phase == "rescore")
        rescore();
    else if (phase == "crafted")
        crafted();
    else if (phase == "memory" && argc > 3)
        memory(std::atoi(argv[3]));
    std::fflush(stdout);
    return 0;
}
