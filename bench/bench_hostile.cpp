// Hostile files against the decode budget: small files that declare huge
// pictures or thousands of scans, and the costliest files still accepted.
// Each runs in a child process; the figures are its wall time and peak
// memory. The budget promises about 1.5 GiB and 2 s at most per file.
#include "pictures/Picture.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes tinyJpeg(bool progressive, bool fullChroma)
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
    if (fullChroma)
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (progressive)
        jpeg_simple_progression(&info);
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
    for (int i = 10; i < scans; ++i)
        jpeg.insert(jpeg.begin() + long(sos), scan.begin(), scan.end());
    return jpeg;
}

Bytes sized(Bytes jpeg, int side)
{
    const std::size_t sof = find(jpeg, {0xC0, 0xC2});
    for (const std::size_t at : {sof + 5, sof + 7}) {
        jpeg[at] = static_cast<unsigned char>(side >> 8);
        jpeg[at + 1] = static_cast<unsigned char>(side);
    }
    return jpeg;
}

void measure(const char* name, const Bytes& jpeg)
{
    char path[] = "/tmp/bb-hostile-XXXXXX.jpg";
    const int fd = ::mkstemps(path, 4);
    if (fd < 0 || ::write(fd, jpeg.data(), jpeg.size()) != static_cast<ssize_t>(jpeg.size()))
        return;
    ::close(fd);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            const pictures::Picture picture = pictures::Picture::load(path);
            picture.bitmap();
            _exit(picture.takeDecodeError() ? 2 : 0);
        } catch (const pictures::LoadFailure&) {
            _exit(1);
        } catch (...) {
            _exit(3);
        }
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::unlink(path);
    static const char* const outcomes[] = {"decoded", "refused (placeholder)", "decode error",
                                           "failed"};
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 3;
    std::printf("%-46s %7zu B  %-22s %6.2f s  %7.1f MiB peak\n", name, jpeg.size(),
                outcomes[code < 4 ? code : 3], seconds, usage.ru_maxrss / 1024.0);
}

} // namespace

int main()
{
    std::printf("%-46s %9s  %-22s %8s  %s\n", "file", "size", "outcome", "time", "memory");
    measure("progressive 18900^2, 999 scans", sized(withScans(tinyJpeg(true, false), 999), 18900));
    measure("progressive 4:4:4 18900^2", sized(tinyJpeg(true, true), 18900));
    measure("baseline 18900^2", sized(tinyJpeg(false, false), 18900));
    measure("progressive 4:2:0 4000^2, 999 scans",
            sized(withScans(tinyJpeg(true, false), 999), 4000));
    measure("accepted: baseline 200 MP (14142^2)", sized(tinyJpeg(false, false), 14142));
    measure("accepted: progressive 4:4:4 12000^2", sized(tinyJpeg(true, true), 12000));
    measure("accepted: progressive 4:2:0 13500^2", sized(tinyJpeg(true, false), 13500));
    measure("accepted: progressive 4:2:0 4000^2, 200 scans",
            sized(withScans(tinyJpeg(true, false), 200), 4000));
}
