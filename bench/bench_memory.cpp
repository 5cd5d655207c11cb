// Peak resident memory with 45-megapixel pictures decoded in the three
// holders, the cost of a move between preloaded holders for 12 and 45
// megapixels, and the time to stretch a 45-megapixel picture to the frame.

#include "bench/SyntheticPhoto.h"
#include "pictures/Picture.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using pictures::Picture;

double megabytes(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

double peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024.0;
}

struct Holders {
    Picture Bild, ForwardTemp, backTemp;
};

Picture decoded(const std::string& file)
{
    Picture picture = Picture::load(file);
    if (!picture.bitmap() || picture.takeDecodeError()) {
        std::fprintf(stderr, "%s did not decode\n", file.c_str());
        std::exit(1);
    }
    return picture;
}

// A forward move as navigation makes it: the shown picture goes back, the
// preloaded one is shown; the emptied slot gets the oldest picture so that
// the loop can go on without the disk.
double nanosecondsPerMove(Holders& h)
{
    constexpr int kMoves = 2'000'000;
    std::size_t seen = 0;
    const auto start = Clock::now();
    for (int i = 0; i < kMoves; ++i) {
        Picture oldest = h.backTemp;
        h.backTemp = h.Bild;
        h.Bild = h.ForwardTemp;
        h.ForwardTemp = oldest;
        seen += reinterpret_cast<std::uintptr_t>(h.Bild.bitmap()) & 1;
    }
    const double elapsed = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    if (seen == 12345)
        std::puts(""); // keeps the loop's work observable
    return elapsed / kMoves;
}

double stretchMilliseconds(const Picture& picture, int width, int height)
{
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
        // Alternate the width by one pixel: each call makes a new image.
        const auto start = Clock::now();
        picture.stretched(width - (i & 1), height);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    char folder[] = "/tmp/bench_memoryXXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string base = folder;
    constexpr int kBigW = 8200, kBigH = 5500, kSmallW = 4000, kSmallH = 3000;
    std::vector<std::string> big, small;
    for (int i = 0; i < 3; ++i) {
        big.push_back(base + "/big" + std::to_string(i) + ".jpg");
        small.push_back(base + "/small" + std::to_string(i) + ".jpg");
        bench::writePhoto(big.back(), kBigW, kBigH, 90, unsigned(i));
        bench::writePhoto(small.back(), kSmallW, kSmallH, 90, unsigned(i));
    }
    const double before = peakResidentBytes();
    const double bitmapBytes = double(kBigW) * kBigH * 3;
    {
        Holders h;
        h.backTemp = decoded(big[0]);
        h.Bild = decoded(big[1]);
        h.ForwardTemp = decoded(big[2]);
        const double peak = peakResidentBytes();
        const double budget = 3 * bitmapBytes + 64.0 * 1024 * 1024;
        std::FILE* in = std::fopen(big[0].c_str(), "rb");
        std::fseek(in, 0, SEEK_END);
        std::printf("45 MP (%d x %d): file %.1f MiB, bitmap %.1f MiB each\n", kBigW, kBigH,
                    megabytes(std::ftell(in)), megabytes(bitmapBytes));
        std::fclose(in);
        std::printf("peak resident before loading: %.1f MiB\n", megabytes(before));
        std::printf("peak resident with three decoded holders: %.1f MiB = three bitmaps + "
                    "%.1f MiB (budget: three bitmaps + 64 MiB = %.1f MiB) %s\n",
                    megabytes(peak), megabytes(peak - 3 * bitmapBytes), megabytes(budget),
                    peak <= budget ? "ok" : "OVER");
        std::printf("move between preloaded holders, 45 MP: %.1f ns\n", nanosecondsPerMove(h));
        // Moves with a preload each: the picture pushed out leaves its
        // bitmap's pages to the next decode.
        std::vector<double> preloads;
        for (int i = 0; i < 3; ++i) {
            h.backTemp = h.Bild;
            h.Bild = h.ForwardTemp;
            h.ForwardTemp = Picture();
            const auto start = Clock::now();
            h.ForwardTemp = decoded(big[i]);
            preloads.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        std::sort(preloads.begin(), preloads.end());
        const double afterMoves = peakResidentBytes();
        std::printf("three moves, each preloading a 45 MP picture into the pages of the one "
                    "pushed out: load + decode median %.1f ms; peak resident %.1f MiB = three "
                    "bitmaps + %.1f MiB %s\n",
                    preloads[1], megabytes(afterMoves), megabytes(afterMoves - 3 * bitmapBytes),
                    afterMoves <= budget ? "ok" : "OVER");
        std::printf("stretch 45 MP to 1386 x 1040 (Xrgb32): median %.2f ms\n",
                    stretchMilliseconds(h.Bild, 1386, 1040));
        std::printf("stretch 45 MP to 2560 x 1440 (Xrgb32): median %.2f ms\n",
                    stretchMilliseconds(h.Bild, 2560, 1440));
    }
    {
        Holders h;
        h.backTemp = decoded(small[0]);
        h.Bild = decoded(small[1]);
        h.ForwardTemp = decoded(small[2]);
        std::printf("move between preloaded holders, 12 MP: %.1f ns\n", nanosecondsPerMove(h));
    }
    for (const auto& file : big)
        std::remove(file.c_str());
    for (const auto& file : small)
        std::remove(file.c_str());
    rmdir(folder);
    return 0;
}
