// Hostile files against the decode budget: small files that declare huge
// pictures or thousands of scans, and the costliest file still accepted of
// each kind. Each is decoded and stretched to a full-HD frame in slices of
// the window's budget, in a child process; the figures are its wall time,
// peak memory and longest slice. The promise: at most 2 s of work and
// 1.6 GB a file, and no slice much longer than the budget.
#include "bench/SyntheticPhoto.h"
#include "core/Tunables.h"
#include "pictures/DecodeBudget.h"
#include "pictures/Picture.h"
#include "pictures/ScaledDecode.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>

namespace {

using Bytes = std::vector<unsigned char>;

enum class Coding { baseline, progressive, arithmetic };

Bytes tinyJpeg(Coding coding, bool fullChroma, bool grey = false)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = info.image_height = 16;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (grey)
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (fullChroma)
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (coding != Coding::baseline)
        jpeg_simple_progression(&info);
    info.arith_code = coding == Coding::arithmetic;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t{16} * 3, 128);
    for (int y = 0; y < 16; ++y) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes jpeg(buffer, buffer + size);
    std::free(buffer);
    return jpeg;
}

std::size_t find(const Bytes& jpeg, std::initializer_list<unsigned char> codes)
{
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
        for (unsigned char code : codes)
            if (jpeg[i] == 0xFF && jpeg[i + 1] == code)
                return i;
    return 0;
}

// The first scan repeated until there are `scans` in all.
Bytes withScans(Bytes jpeg, int scans)
{
    const std::size_t sos = find(jpeg, {0xDA});
    std::size_t end = sos + 2 + (jpeg[sos + 2] << 8 | jpeg[sos + 3]);
    while (!(jpeg[end] == 0xFF && jpeg[end + 1] != 0))
        ++end;
    const Bytes scan(jpeg.begin() + long(sos), jpeg.begin() + long(end));
    int have = 0;
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
        have += jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA;
    for (; have < scans; ++have)
        jpeg.insert(jpeg.begin() + long(sos), scan.begin(), scan.end());
    return jpeg;
}

Bytes sized(Bytes jpeg, int side)
{
    const std::size_t sof = find(jpeg, {0xC0, 0xC2, 0xC9, 0xCA});
    for (const std::size_t at : {sof + 5, sof + 7}) {
        jpeg[at] = static_cast<unsigned char>(side >> 8);
        jpeg[at + 1] = static_cast<unsigned char>(side);
    }
    return jpeg;
}

struct Slices {
    double longestMs = 0;    // wall time: what the window waits
    double longestCpuMs = 0; // the work in it: the same on a machine not shared
    int count = 0;
};

double cpuMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Decodes and stretches as the window's preload does, slice by slice.
Slices sliced(const pictures::Picture& picture)
{
    Slices slices;
    const int height = 1040,
              width = picture.height() > 0
                          ? int(std::int64_t{picture.width()} * height / picture.height())
                          : 0;
    bool done = false;
    while (!done) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuMs();
        done = picture.stretchStep(std::min(width, 1587), height, tunables::kSliceBudget);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        slices.longestMs = std::max(slices.longestMs, ms);
        slices.longestCpuMs = std::max(slices.longestCpuMs, cpuMs() - cpuStart);
        ++slices.count;
    }
    return slices;
}

void measure(const char* name, const Bytes& jpeg)
{
    char path[] = "/tmp/bb-hostile-XXXXXX.jpg";
    const int fd = ::mkstemps(path, 4);
    if (fd < 0 || ::write(fd, jpeg.data(), jpeg.size()) != static_cast<ssize_t>(jpeg.size()))
        return;
    ::close(fd);
    int channel[2];
    if (::pipe(channel) != 0)
        return;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        Slices slices;
        int code = 3;
        try {
            const pictures::Picture picture = pictures::Picture::load(path);
            slices = sliced(picture);
            code = picture.takeDecodeError() ? 2 : 0;
        } catch (const pictures::LoadFailure&) {
            code = 1;
        } catch (...) {
        }
        if (::write(channel[1], &slices, sizeof slices) != sizeof slices)
            code = 3;
        _exit(code);
    }
    ::close(channel[1]);
    Slices slices;
    if (::read(channel[0], &slices, sizeof slices) != sizeof slices)
        slices = {};
    ::close(channel[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::unlink(path);
    static const char* const outcomes[] = {"decoded", "refused", "error", "failed"};
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 3;
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%-42s %5zu B  %-8s %5.2f s %5.2f s  %6.0f MiB  %5.1f ms %4.0f ms  %6d\n", name,
                jpeg.size(), outcomes[code < 4 ? code : 3], cpu, seconds, usage.ru_maxrss / 1024.0,
                slices.longestCpuMs, slices.longestMs, slices.count);
    std::fflush(stdout);
}

// The evaluation's thumbnails: `threads` threads decode one such file each
// at once, scaled as the evaluation does; they share the process's budget.
void measureTogether(const char* name, const Bytes& jpeg, int threads)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<std::thread> decoding;
        decoding.reserve(std::size_t(threads));
        std::atomic<int> decoded{0};
        for (int t = 0; t < threads; ++t)
            decoding.emplace_back([&] {
                const auto picture = pictures::decodeScaled(jpeg.data(), jpeg.size(), 240);
                decoded += !picture.refused && picture.bitmap.pixels ? 1 : 0;
            });
        for (std::thread& thread : decoding)
            thread.join();
        _exit(decoded == threads ? 0 : 2);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%-42s %5zu B  %-8s %5.2f s %5.2f s  %6.0f MiB  (%d threads)\n", name, jpeg.size(),
                WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "decoded" : "failed", cpu, seconds,
                usage.ru_maxrss / 1024.0, threads);
    std::fflush(stdout);
}

} // namespace

int main()
{
    std::printf("%-42s %7s  %-8s %7s %7s  %10s  %-16s  %s\n", "", "", "", "work", "wall", "peak",
                "longest slice", "");
    std::printf("%-42s %7s  %-8s %7s %7s  %10s  %8s %7s  %s\n", "file", "size", "outcome", "(cpu)",
                "", "", "(cpu)", "(wall)", "slices");
    const Bytes colour420 = tinyJpeg(Coding::progressive, false);
    measure("progressive 18900^2, 999 scans", sized(withScans(colour420, 999), 18900));
    measure("progressive 4:4:4 18900^2", sized(tinyJpeg(Coding::progressive, true), 18900));
    measure("baseline 18900^2", sized(tinyJpeg(Coding::baseline, false), 18900));
    measure("progressive 4:2:0 4000^2, 999 scans", sized(withScans(colour420, 999), 4000));
    // The worst accepted file of each kind, at the edge of the budget.
    const int pixelEdge = int(std::sqrt(double(tunables::kMaxPixels)));
    // Bitmap 3 bytes a pixel, coefficients 3 x 2 bytes a pixel.
    const int bytesEdge444 = int(std::sqrt(double(tunables::kMaxDecodeBytes) / 9)) / 8 * 8;
    // As many scans as the block visits allow, over the most pixels.
    const std::uint64_t greyBlocks = std::uint64_t((pixelEdge + 7) / 8) * ((pixelEdge + 7) / 8);
    const int scansEdge = int(tunables::kMaxBlockVisits / greyBlocks);
    char name[80];
    std::snprintf(name, sizeof name, "worst baseline: %d^2", pixelEdge);
    measure(name, sized(tinyJpeg(Coding::baseline, false), pixelEdge));
    std::snprintf(name, sizeof name, "worst progressive 4:4:4: %d^2", bytesEdge444);
    measure(name, sized(tinyJpeg(Coding::progressive, true), bytesEdge444));
    std::snprintf(name, sizeof name, "worst greyscale progressive: %d^2", pixelEdge);
    measure(name, sized(tinyJpeg(Coding::progressive, false, true), pixelEdge));
    std::snprintf(name, sizeof name, "worst many scans: grey %d^2, %d scans", pixelEdge, scansEdge);
    measure(name,
            sized(withScans(tinyJpeg(Coding::progressive, false, true), scansEdge), pixelEdge));
    // 4:4:4 simple progression: 14 block visits per 64 pixels.
    const int arithmeticEdge = int(std::sqrt(double(tunables::kMaxBlockVisits) /
                                             double(tunables::kArithmeticBlockCost) / 14 * 64)) /
                               8 * 8;
    std::snprintf(name, sizeof name, "worst arithmetic progressive 4:4:4: %d^2", arithmeticEdge);
    measure(name, sized(tinyJpeg(Coding::arithmetic, true), arithmeticEdge));
    std::snprintf(name, sizeof name, "arithmetic progressive 4:4:4: %d^2", arithmeticEdge + 8);
    measure(name, sized(tinyJpeg(Coding::arithmetic, true), arithmeticEdge + 8));
    // Greyscale simple progression: 6 block visits per 64 pixels.
    const int arithmeticGreyEdge =
        std::min(pixelEdge, int(std::sqrt(double(tunables::kMaxBlockVisits) /
                                          double(tunables::kArithmeticBlockCost) / 6 * 64)) /
                                8 * 8);
    std::snprintf(name, sizeof name, "worst arithmetic greyscale progressive: %d^2",
                  arithmeticGreyEdge);
    measure(name, sized(tinyJpeg(Coding::arithmetic, false, true), arithmeticGreyEdge));
    // What the budget must still accept: a real 100-megapixel photograph.
    char photo[] = "/tmp/bb-photo-XXXXXX.jpg";
    const int fd = ::mkstemps(photo, 4);
    if (fd < 0)
        return 1;
    ::close(fd);
    bench::writePhoto(photo, 10000, 10000, 90, 0, bench::Kind::progressive);
    std::FILE* in = std::fopen(photo, "rb");
    Bytes bytes;
    for (int c; (c = std::fgetc(in)) != EOF;)
        bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(in);
    ::unlink(photo);
    measure("photograph 100 MP progressive: 10000^2", bytes);

    // One budget for the process (the evaluation decodes on every core): the
    // peak of eight such files at once stays that of one.
    Bytes wide = sized(tinyJpeg(Coding::progressive, true), 9000);
    const std::size_t sof = find(wide, {0xC2});
    wide[sof + 7] = static_cast<unsigned char>(13000 >> 8);
    wide[sof + 8] = static_cast<unsigned char>(13000 & 0xFF);
    measureTogether("thumbnail of progressive 4:4:4 13000x9000", wide, 1);
    measureTogether("8 thumbnails of it at once", wide, 8);
}
