// Preparing a competition: copying N pictures of S MB into a new folder
// with the preparation's writer against `cp` of the same files, each also
// with the sync the writer does (its folder must survive a power cut), as
// wall clock, median of several runs. The writer's figure includes its
// progress reports.
//   bench_prepare [PICTURES=200] [MEGABYTES=12] [FOLDER=/tmp]
#include "core/NewFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 3;

double seconds(const std::function<void()>& run)
{
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void shell(const std::string& command)
{
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 200;
    const int megabytes = argc > 2 ? std::atoi(argv[2]) : 12;
    const fs::path root = fs::path(argc > 3 ? argv[3] : "/tmp") / "bench-prepare";
    fs::remove_all(root);
    fs::create_directories(root / "Einsendungen");

    // Incompressible bytes, as a JPEG's are.
    std::mt19937_64 random(1);
    std::string bytes(static_cast<std::size_t>(megabytes) << 20, '\0');
    newfolder::Plan plan;
    for (int i = 0; i < pictures; ++i) {
        for (std::size_t k = 0; k + 8 <= bytes.size(); k += 8) {
            const std::uint64_t r = random();
            std::memcpy(bytes.data() + k, &r, 8);
        }
        const fs::path source = root / "Einsendungen" / ("Bild " + std::to_string(i) + ".jpg");
        std::ofstream(source, std::ios::binary) << bytes;
        char name[16];
        std::snprintf(name, sizeof name, "%03d.jpg", i + 1);
        plan.copies.push_back({source.string(), name});
    }
    shell("sync");
    plan.folder = (root / "Wettbewerb").string();
    const std::string cp =
        "cp -r '" + (root / "Einsendungen").string() + "' '" + (root / "Kopie").string() + "'";

    std::vector<double> writer, copy, copySynced;
    for (int run = 0; run < kRuns; ++run) {
        fs::remove_all(plan.folder);
        fs::remove_all(root / "Kopie");
        shell("sync");
        std::uint64_t reports = 0;
        writer.push_back(seconds([&] {
            const auto result = newfolder::write(plan, [&](std::uint64_t, std::uint64_t) {
                ++reports;
                return true;
            });
            if (result.outcome != newfolder::Outcome::Written)
                std::exit(1);
        }));
        shell("sync");
        copy.push_back(seconds([&] { shell(cp); }));
        fs::remove_all(root / "Kopie");
        shell("sync");
        copySynced.push_back(seconds([&] { shell(cp + " && sync"); }));
        if (run == 0)
            std::printf("progress reports per run: %llu\n",
                        static_cast<unsigned long long>(reports));
    }
    const double gigabytes = pictures * static_cast<double>(megabytes) / 1024;
    std::printf("%d pictures of %d MB (%.1f GB), median of %d runs:\n", pictures, megabytes,
                gigabytes, kRuns);
    std::printf("  writer (copied, flushed, renamed): %6.2f s\n", median(writer));
    std::printf("  cp -r                            : %6.2f s\n", median(copy));
    std::printf("  cp -r && sync                    : %6.2f s\n", median(copySynced));
    std::printf("  writer / (cp + sync)             : %6.2f\n",
                median(writer) / median(copySynced));
    fs::remove_all(root);
    return 0;
}
