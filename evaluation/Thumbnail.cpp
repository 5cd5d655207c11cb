#include "evaluation/Thumbnail.h"

#include "core/RegularFile.h"
#include "pictures/Jpeg.h"

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <exception>
#include <mutex>
#include <thread>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports errors through error_exit, which must not return: we
// longjmp out of its C frames. The functions that arm the jump keep only
// trivially destructible locals, so no destructor is skipped.

namespace evaluation {

namespace {

struct ErrorJump {
    jpeg_error_mgr manager; // first, so that libjpeg's pointer is ours too
    std::jmp_buf jump;
};

struct Session {
    jpeg_decompress_struct info;
    ErrorJump error;
    jpeg_progress_mgr progress;
};

[[noreturn]] void jumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}
void ignoreMessage(j_common_ptr, int) {}

// Thousands of tiny progressive scans would each redo the whole picture;
// refused as the judging program's decoder refuses them.
void limitScans(j_common_ptr common)
{
    if (reinterpret_cast<j_decompress_ptr>(common)->input_scan_number > pictures::kMaxScans)
        ERREXIT(common, JERR_BAD_PROGRESSION);
}
void printNothing(j_common_ptr) {}

// Header, scaling and the start of decompression; false on a libjpeg error.
bool start(Session& session, const std::vector<std::uint8_t>& bytes, int longSide, int& denominator)
{
    if (setjmp(session.error.jump))
        return false;
    jpeg_decompress_struct& info = session.info;
    jpeg_create_decompress(&info);
    info.progress = &session.progress;
    info.mem->max_memory_to_use = kMaxDecoderBytes;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (static_cast<long long>(info.image_width) * info.image_height > kMaxPixels) {
        session.error.manager.msg_code = 0; // not libjpeg's failure
        return false;
    }
    denominator = scaleDenominatorFor(int(info.image_width), int(info.image_height), longSide);
    info.scale_num = 1;
    info.scale_denom = unsigned(denominator);
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = FALSE;
    info.do_block_smoothing = FALSE;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        break;
    default:
        info.out_color_space = JCS_RGB;
        break;
    }
    jpeg_start_decompress(&info);
    return true;
}

// Rows straight into `pixels`; CMYK through `scratch` (4 bytes a pixel).
bool readRows(Session& session, std::uint8_t* pixels, std::uint8_t* scratch)
{
    if (setjmp(session.error.jump))
        return false;
    jpeg_decompress_struct& info = session.info;
    const bool cmyk = info.out_color_space == JCS_CMYK;
    const std::size_t stride = std::size_t(info.output_width) * (cmyk ? 3 : info.output_components);
    while (info.output_scanline < info.output_height) {
        std::uint8_t* row = pixels + info.output_scanline * stride;
        JSAMPROW target = cmyk ? scratch : row;
        if (jpeg_read_scanlines(&info, &target, 1) != 1)
            break;
        // Adobe writes CMYK inverted (0 = full ink).
        for (JDIMENSION x = 0; cmyk && x < info.output_width; ++x) {
            const std::uint8_t* p = scratch + std::size_t(4) * x;
            const unsigned k = info.saw_Adobe_marker ? p[3] : 255u - p[3];
            for (int c = 0; c < 3; ++c) {
                const unsigned light = info.saw_Adobe_marker ? p[c] : 255u - p[c];
                row[3 * x + c] = std::uint8_t((light * k + 127) / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

// The whole file into `bytes`, when it is a regular file of at most
// kMaxFileBytes (a pipe is refused, never waited for). Decoding from memory
// saves libjpeg a read call per 4 KiB.
bool readPicture(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    auto file = regularfile::Reader::open(path);
    if (!file || file->size() > std::uint64_t(kMaxFileBytes))
        return false;
    bytes.resize(std::size_t(file->size()));
    return file->read(bytes.data(), bytes.size()) == bytes.size();
}

} // namespace

int scaleDenominatorFor(int width, int height, int longSide)
{
    const int longer = std::max(width, height);
    for (const int denominator : {8, 4, 2})
        if ((longer + denominator - 1) / denominator >= longSide)
            return denominator;
    return 1;
}

Thumbnail readThumbnail(const std::string& path, int longSide)
{
    Thumbnail thumbnail;
    // Kept per thread: a new buffer for each picture would fault in its pages anew.
    thread_local std::vector<std::uint8_t> bytes;
    if (!readPicture(path, bytes) || bytes.empty())
        return thumbnail;
    Session session{};
    session.info.err = jpeg_std_error(&session.error.manager);
    session.error.manager.error_exit = jumpOut;
    session.error.manager.emit_message = ignoreMessage;
    session.error.manager.output_message = printNothing;
    session.progress.progress_monitor = limitScans;
    if (start(session, bytes, longSide, thumbnail.scaleDenominator)) {
        const jpeg_decompress_struct& info = session.info;
        thumbnail.width = int(info.output_width);
        thumbnail.height = int(info.output_height);
        thumbnail.channels = info.out_color_space == JCS_GRAYSCALE ? 1 : 3;
        thumbnail.pixels.resize(std::size_t(thumbnail.width) * thumbnail.height *
                                std::size_t(thumbnail.channels));
        std::vector<std::uint8_t> scratch(
            info.out_color_space == JCS_CMYK ? std::size_t(thumbnail.width) * 4 : 0);
        thumbnail.ok = readRows(session, thumbnail.pixels.data(), scratch.data());
    }
    if (!thumbnail.ok) {
        if (session.error.manager.msg_code != 0)
            thumbnail.jpegError = session.error.manager.msg_code;
        thumbnail.pixels.clear();
    }
    jpeg_destroy_decompress(&session.info);
    return thumbnail;
}

void parallelFor(std::size_t count, const std::function<void(std::size_t)>& job)
{
    const std::size_t workers = std::min<std::size_t>(
        std::max(1u, std::thread::hardware_concurrency()), std::max<std::size_t>(count, 1));
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureMutex;
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                job(i);
            } catch (...) {
                const std::lock_guard lock(failureMutex);
                if (!failure)
                    failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < workers; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace evaluation
