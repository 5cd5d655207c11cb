// Full decoding of a 24-megapixel photo-like JPEG through Picture::load and
// decode, side by side with djpeg's whole process on the same file and with
// the same settings (float IDCT; block smoothing is libjpeg's default).

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
    std::remove(file.c_str());
    rmdir(folder);
    return 0;
}
