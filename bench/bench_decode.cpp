// Full decoding of a 24-megapixel photo-like JPEG through Picture::load and
// decode, side by side with djpeg's whole process on the same file and with
// the same settings (float IDCT; block smoothing is libjpeg's default).

#include "pictures/Picture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Sky, soft shapes, edges and a faint grain: compresses like a photograph.
void writePhoto(const std::string& file, int width, int height, int quality)
{
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) {
        std::perror(file.c_str());
        std::exit(1);
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * 3);
    std::uint32_t grain = 12345;
    for (int y = 0; y < height; ++y) {
        const double fy = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / width;
            const double hill = fy > 0.55 + 0.08 * std::sin(fx * 11) ? 1 : 0;
            const double leaves = 18 * std::sin(x * 0.045 + std::sin(y * 0.03) * 3) *
                                      std::cos(y * 0.05 + std::sin(x * 0.02) * 2) +
                                  9 * std::sin(x * 0.31 + 2 * std::sin(y * 0.13)) *
                                      std::sin(y * 0.27 + std::cos(x * 0.07));
            grain = grain * 1664525u + 1013904223u;
            const double noise = (double(grain >> 28) - 7.5) * 0.8;
            const double r = hill ? 70 + leaves + 40 * fx : 120 + 90 * fy;
            const double g = hill ? 110 + leaves * 1.3 + 30 * fy : 160 + 70 * fy;
            const double b = hill ? 40 + leaves * 0.5 : 230 - 40 * fy + 20 * std::sin(fx * 5);
            JSAMPLE* p = &row[std::size_t(x) * 3];
            p[0] = JSAMPLE(std::clamp(r + noise, 0.0, 255.0));
            p[1] = JSAMPLE(std::clamp(g + noise, 0.0, 255.0));
            p[2] = JSAMPLE(std::clamp(b + noise, 0.0, 255.0));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

double djpegMilliseconds(const std::string& file)
{
    const char* argv[] = {"/usr/bin/djpeg", "-dct",      "float",      "-ppm",
                          "-outfile",       "/dev/null", file.c_str(), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        std::fprintf(stderr, "djpeg could not be started\n");
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double elapsed = millisecondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "djpeg failed\n");
        std::exit(1);
    }
    return elapsed;
}

double ourMilliseconds(const std::string& file, double& releaseMilliseconds)
{
    auto start = Clock::now();
    double elapsed = 0;
    {
        const pictures::Picture picture = pictures::Picture::load(file);
        if (!picture.bitmap() || picture.takeDecodeError()) {
            std::fprintf(stderr, "decoding failed\n");
            std::exit(1);
        }
        elapsed = millisecondsSince(start);
        start = Clock::now();
    }
    releaseMilliseconds = millisecondsSince(start);
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
    char folder[] = "/tmp/bench_decodeXXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string file = std::string(folder) + "/photo24mp.jpg";
    writePhoto(file, 6000, 4000, 90);
    std::FILE* in = std::fopen(file.c_str(), "rb");
    std::fseek(in, 0, SEEK_END);
    std::printf("picture: 6000 x 4000 (24.0 MP), quality 90, 4:2:0, %.1f MB\n",
                std::ftell(in) / 1e6);
    std::fclose(in);

    // The first run of each is cold (shared libraries; the kernel may first
    // have to gather huge pages); shown, then left out of the medians.
    double release = 0;
    const double firstTheirs = djpegMilliseconds(file);
    const double firstOurs = ourMilliseconds(file, release);
    std::printf("first runs: djpeg %.1f ms, ours %.1f ms\n", firstTheirs, firstOurs);
    std::vector<double> ours, theirs, releases;
    for (int i = 0; i < rounds; ++i) {
        theirs.push_back(djpegMilliseconds(file));
        ours.push_back(ourMilliseconds(file, release));
        releases.push_back(release);
    }
    const double ourMedian = median(ours), theirMedian = median(theirs);
    std::printf("djpeg -dct float -ppm -outfile /dev/null (whole process): median %.1f ms, "
                "best %.1f ms\n",
                theirMedian, *std::min_element(theirs.begin(), theirs.end()));
    std::printf("Picture::load + decode:                                  median %.1f ms, "
                "best %.1f ms (releasing the bitmap: %.1f ms)\n",
                ourMedian, *std::min_element(ours.begin(), ours.end()), median(releases));
    std::printf("ratio ours / djpeg (medians): %.3f (target: at most 1.0)\n",
                ourMedian / theirMedian);
    std::remove(file.c_str());
    rmdir(folder);
    return 0;
}
