// Decoding in slices between events: the longest slice while a 45 MP colour,
// a 24 MP grayscale, a 24 MP progressive (also arithmetic-coded) picture and
// a 24 MP camera portrait (EXIF orientation 6) are decoded and stretched to
// the frame with a 5 ms budget, and the total time of the
// sliced decode against the one-piece decode and djpeg's whole process.

#include "bench/SyntheticPhoto.h"
#include "pictures/Picture.h"
#include "pictures/PictureMemory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using pictures::Picture;
constexpr std::chrono::microseconds kBudget{5000};
constexpr int kFrameWidth = 1386, kFrameHeight = 1040;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The thread's own processor time: on a busy machine a slice's wall time
// also holds the time other processes ran.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double loadAverage()
{
    double load = 0;
    if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1)
            load = 0;
        std::fclose(f);
    }
    return load;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs a program and waits; its whole process time in ms.
double run(std::vector<const char*> argv)
{
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv.data()), environ)) {
        std::fprintf(stderr, "%s could not be started\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return msSince(start);
}

double djpeg(const std::string& file)
{
    return run({"/usr/bin/djpeg", "-dct", "float", "-ppm", "-outfile", "/dev/null", file.c_str()});
}

Picture loaded(const std::string& file)
{
    Picture picture = Picture::load(file);
    return picture;
}

void check(const Picture& picture)
{
    if (!picture.bitmap() || picture.takeDecodeError()) {
        std::fprintf(stderr, "decoding failed\n");
        std::exit(1);
    }
}

struct Sliced {
    double load = 0, longest = 0, longestCpu = 0, total = 0;
    int slices = 0, longestAt = 0;
};

// Load (one piece, as the preload tick does), then slices until the
// stretched frame image is ready, as the timer would run them.
Sliced inSlices(const std::string& file, bool stretch)
{
    Sliced s;
    auto start = Clock::now();
    const Picture picture = loaded(file);
    s.load = msSince(start);
    for (bool done = false; !done; ++s.slices) {
        start = Clock::now();
        const double cpu = cpuMs();
        done = stretch ? picture.stretchStep(kFrameWidth, kFrameHeight, kBudget)
                       : picture.decodeStep(kBudget);
        const double slice = msSince(start);
        if (slice > s.longest)
            s.longestAt = s.slices;
        s.longest = std::max(s.longest, slice);
        s.longestCpu = std::max(s.longestCpu, cpuMs() - cpu);
        s.total += slice;
    }
    check(picture);
    return s;
}

double onePiece(const std::string& file)
{
    const auto start = Clock::now();
    const Picture picture = loaded(file);
    check(picture);
    return msSince(start);
}

struct Photo {
    const char* name;
    std::string file;
};

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const bool huge = argc > 2 && std::string(argv[2]) == "huge";
    pictures::usePageSize(huge ? pictures::PageSize::huge : pictures::PageSize::normal);
    char folder[] = "/tmp/bench_slicesXXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string base = folder;
    const auto photo = [&](const char* name, int w, int h) {
        std::string file = base + "/" + name + ".jpg";
        bench::writePhoto(file, w, h, 90);
        return file;
    };
    const std::string mp12 = photo("12mp", 4000, 3000), mp24 = photo("24mp", 6000, 4000),
                      mp45 = photo("45mp", 8200, 5500);
    const std::string grey24 = base + "/24mp-grey.jpg", progressive24 = base + "/24mp-prog.jpg";
    run({"/usr/bin/jpegtran", "-grayscale", "-outfile", grey24.c_str(), mp24.c_str()});
    run({"/usr/bin/jpegtran", "-progressive", "-outfile", progressive24.c_str(), mp24.c_str()});
    const std::string arithmetic24 = base + "/24mp-arith.jpg";
    run({"/usr/bin/jpegtran", "-arithmetic", "-progressive", "-outfile", arithmetic24.c_str(),
         mp24.c_str()});
    const std::string portrait24 = bench::withOrientation(mp24, 6);

    std::printf(
        "slices of at most %lld ms of work, until the picture is stretched to %d x %d; "
        "%d rounds (longest slice: worst round; times: medians); %s pages; load average %.1f\n",
        static_cast<long long>(kBudget.count() / 1000), kFrameWidth, kFrameHeight, rounds,
        huge ? "huge" : "normal", loadAverage());
    const Photo sliced[] = {{"45 MP colour", mp45},
                            {"24 MP grayscale", grey24},
                            {"24 MP progressive", progressive24},
                            {"24 MP arithmetic", arithmetic24},
                            {"24 MP portrait", portrait24},
                            {"24 MP colour", mp24}};
    for (const Photo& p : sliced) {
        std::vector<double> longest, longestCpu, total, loads, slices;
        std::printf("%-18s", p.name);
        for (int i = 0; i < rounds; ++i) {
            const Sliced s = inSlices(p.file, true);
            std::printf(" %.1f ms at %d/%d;", s.longest, s.longestAt + 1, s.slices);
            longest.push_back(s.longest);
            longestCpu.push_back(s.longestCpu);
            total.push_back(s.total);
            loads.push_back(s.load);
            slices.push_back(s.slices);
        }
        std::printf("\n%-18s longest slice %5.2f ms (processor %5.2f; target: at most 8), "
                    "%3.0f slices, %6.1f ms in all; load before them %5.1f ms\n",
                    p.name, *std::max_element(longest.begin(), longest.end()),
                    *std::max_element(longestCpu.begin(), longestCpu.end()), median(slices),
                    median(total), median(loads));
    }

    std::printf("\nload + decode: in slices / in one piece / djpeg -dct float -ppm (whole "
                "process), medians\n");
    const Photo sizes[] = {{"12 MP", mp12}, {"24 MP", mp24}, {"45 MP", mp45}};
    for (const Photo& p : sizes) {
        std::vector<double> slices, whole, theirs;
        // Each goes first in turn: the one after djpeg finds the caches cold.
        for (int i = 0; i < rounds; ++i)
            for (int k = 0; k < 3; ++k)
                switch ((i + k) % 3) {
                case 0:
                    theirs.push_back(djpeg(p.file));
                    break;
                case 1:
                    whole.push_back(onePiece(p.file));
                    break;
                default:
                    const Sliced s = inSlices(p.file, false);
                    slices.push_back(s.load + s.total);
                }
        const double t = median(theirs);
        std::printf("%-6s %6.1f / %6.1f / %6.1f ms   ratio to djpeg: sliced %.3f, one piece %.3f "
                    "(target: at most 1.0)\n",
                    p.name, median(slices), median(whole), t, median(slices) / t,
                    median(whole) / t);
    }
    for (const std::string& f : {mp12, mp24, mp45, grey24, progressive24, arithmetic24, portrait24})
        std::remove(f.c_str());
    rmdir(folder);
    return 0;
}
