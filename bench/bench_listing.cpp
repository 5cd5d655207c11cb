// Start-up listing of a large folder: our listing, sorting and fresh sheet
// against `find | sort -f` on the same folder, both timed as wall clock.
#include "core/RatingSheet.h"
#include "pictures/PictureList.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPictures = 20000;
constexpr int kRuns = 9;

void touch(const fs::path& path)
{
    std::ofstream file(path);
}

// Camera names, holiday names with spaces and umlauts, and some non-pictures.
void fillFolder(const fs::path& folder)
{
    char name[64];
    for (int i = 0; i < kPictures; ++i) {
        switch (i % 4) {
        case 0:
            std::snprintf(name, sizeof name, "IMG_%05d.JPG", i);
            break;
        case 1:
            std::snprintf(name, sizeof name, "Urlaub 2023 - %d.jpg", i);
            break;
        case 2:
            std::snprintf(name, sizeof name, "dsc%05d.jpg", i);
            break;
        default:
            std::snprintf(name, sizeof name,
                          "M\xC3\xBCnchen Stra\xC3\x9F"
                          "e %d.jpg",
                          i);
        }
        touch(folder / name);
    }
    for (int i = 0; i < 200; ++i) {
        touch(folder / ("notiz" + std::to_string(i) + ".txt"));
        touch(folder / ("IMG_" + std::to_string(i) + ".CR2"));
    }
    touch(folder / "Bewerter.qel");
}

double millis(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Alternating runs, so neither side profits from a warmer cache.
void timeBoth(const std::function<std::size_t()>& ours, const std::function<std::size_t()>& shell,
              std::vector<double>& oursMs, std::vector<double>& shellMs, std::size_t& counts)
{
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        const std::size_t ourCount = ours();
        oursMs.push_back(millis(Clock::now() - start));

        start = Clock::now();
        const std::size_t shellCount = shell();
        shellMs.push_back(millis(Clock::now() - start));

        if (ourCount != shellCount)
            std::fprintf(stderr, "counts differ: %zu vs %zu\n", ourCount, shellCount);
        counts = ourCount;
    }
}

std::size_t runPipeline()
{
    FILE* pipe = popen("find . -maxdepth 1 -iname '*.jpg' | sort -f", "r");
    if (!pipe)
        return 0;
    std::size_t lines = 0;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        lines += static_cast<std::size_t>(std::count(buffer, buffer + got, '\n'));
    pclose(pipe);
    return lines;
}

} // namespace

int main()
{
    std::string pattern = (fs::temp_directory_path() / "bench-listing-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path folder = pattern;
    const fs::path before = fs::current_path();
    fillFolder(folder);
    fs::current_path(folder);

    auto ours = [] {
        const auto names = pictures::listPictures();
        const auto sheet = rating::freshSheet(names);
        return sheet.size();
    };
    ours();
    runPipeline(); // warm the directory cache for both

    std::vector<double> oursMs, shellMs;
    std::size_t count = 0;
    timeBoth(ours, runPipeline, oursMs, shellMs, count);

    fs::current_path(before);
    fs::remove_all(folder);

    const double a = median(oursMs), b = median(shellMs);
    std::printf("folder: %d pictures (+ 401 other files), median of %d runs\n", kPictures, kRuns);
    std::printf("listPictures + freshSheet:  %8.2f ms  (%zu lines)\n", a, count);
    std::printf("find | sort -f (whole pipeline): %8.2f ms\n", b);
    std::printf("ratio ours / pipeline: %.2f (target <= 1.50)\n", a / b);
    return 0;
}
