// Full decoding of a 24-megapixel photo-like JPEG through Picture::load and
// decode, side by side with djpeg's whole process on the same file and with
// the same settings (float IDCT; block smoothing is libjpeg's default).
// Then what a camera portrait costs: the same file marked EXIF orientation 6
// (stored lying, shown upright), decoded and stretched, against orientation 1.

#include "bench/SyntheticPhoto.h"
#include "pictures/Picture.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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

// Decode and stretch to the frame, as a move onto the picture needs; the
// stretch alone in `stretchMilliseconds`.
double shownMilliseconds(const std::string& file, int frameWidth, int frameHeight,
                         double& stretchMilliseconds)
{
    const auto start = Clock::now();
    const pictures::Picture picture = pictures::Picture::load(file);
    picture.decode();
    if ((picture.width() < picture.height()) != (frameWidth < frameHeight)) {
        std::fprintf(stderr, "the picture does not stand as the frame\n");
        std::exit(1);
    }
    const auto stretchStart = Clock::now();
    if (!picture.stretched(frameWidth, frameHeight)) {
        std::fprintf(stderr, "stretching failed\n");
        std::exit(1);
    }
    stretchMilliseconds = millisecondsSince(stretchStart);
    return millisecondsSince(start);
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
    bench::writePhoto(file, 6000, 4000, 90);
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

    // A portrait 4000 x 6000 upright in a 1040-pixel-high frame; the landscape
    // the same file is without the tag stretched to the same number of pixels.
    const std::string portrait = bench::withOrientation(file, 6);
    std::vector<double> upright, lying, uprightStretch, lyingStretch;
    for (int i = 0; i < rounds; ++i) {
        double stretch = 0;
        upright.push_back(shownMilliseconds(file, 1040, 693, stretch));
        uprightStretch.push_back(stretch);
        lying.push_back(shownMilliseconds(portrait, 693, 1040, stretch));
        lyingStretch.push_back(stretch);
    }
    const double plain = median(upright), turned = median(lying);
    std::printf("decode + stretch to 1040 x 693, orientation 1: median %.1f ms (stretch %.2f ms)\n",
                plain, median(uprightStretch));
    std::printf("decode + stretch to 693 x 1040, orientation 6: median %.1f ms (stretch %.2f ms)\n",
                turned, median(lyingStretch));
    std::printf("orientation 6 / 1: %.3f (goal: at most 1.10)\n", turned / plain);
    std::remove(portrait.c_str());
    std::remove(file.c_str());
    rmdir(folder);
    return 0;
}
