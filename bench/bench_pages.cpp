// Huge or normal pages for bitmaps, measured on cold memory (after a few
// seconds idle, as after a judge looked at a picture): faulting in a fresh
// 45-megapixel bitmap, decoding a 45-megapixel picture into fresh memory,
// and the same decode into a kept block, as after a move.

#include "bench/SyntheticPhoto.h"
#include "pictures/Picture.h"
#include "pictures/PictureMemory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using pictures::PageSize;
using pictures::Picture;
constexpr int kWidth = 8200, kHeight = 5500;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double decodeMs(const std::string& file)
{
    const auto start = Clock::now();
    const Picture picture = Picture::load(file);
    if (!picture.bitmap() || picture.takeDecodeError()) {
        std::fprintf(stderr, "decoding failed\n");
        std::exit(1);
    }
    return msSince(start);
}

struct Figures {
    std::vector<double> touch, cold, kept;
};

void print(const char* name, std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    std::printf("  %-34s median %6.1f ms, best %6.1f, worst %6.1f\n", name, v[v.size() / 2],
                v.front(), v.back());
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 4;
    const auto idle = std::chrono::seconds(argc > 2 ? std::atoi(argv[2]) : 3);
    char folder[] = "/tmp/bench_pagesXXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string file = std::string(folder) + "/45mp.jpg";
    bench::writePhoto(file, kWidth, kHeight, 90);
    const std::size_t bytes = std::size_t{kWidth} * kHeight * 3;

    Figures figures[2];
    for (int round = 0; round < rounds; ++round)
        for (const PageSize size : {PageSize::normal, PageSize::huge}) {
            Figures& f = figures[size == PageSize::huge];
            pictures::usePageSize(size);
            pictures::releaseKeptPixels();
            std::this_thread::sleep_for(idle);
            auto start = Clock::now();
            {
                const auto block = pictures::allocatePixels(bytes);
                pictures::touchPixels(block.get(), bytes);
                f.touch.push_back(msSince(start));
            }
            pictures::releaseKeptPixels();
            std::this_thread::sleep_for(idle);
            f.cold.push_back(decodeMs(file)); // its bitmap is kept afterwards
            f.kept.push_back(decodeMs(file));
        }
    std::printf("45 MP bitmap (%.1f MiB), %d rounds, %lld s idle before each cold figure\n",
                bytes / 1048576.0, rounds, static_cast<long long>(idle.count()));
    for (const PageSize size : {PageSize::normal, PageSize::huge}) {
        const Figures& f = figures[size == PageSize::huge];
        std::printf("%s pages:\n", size == PageSize::huge ? "huge" : "normal");
        print("fault in a fresh bitmap", f.touch);
        print("load + decode into fresh memory", f.cold);
        print("load + decode into a kept block", f.kept);
    }
    pictures::releaseKeptPixels();
    std::remove(file.c_str());
    rmdir(folder);
    return 0;
}
