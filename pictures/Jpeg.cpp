#include "pictures/Jpeg.h"

#include "pictures/JpegSession.h"
#include "pictures/Orientation.h"

#include <vector>

#include <jerror.h>

namespace pictures {

namespace jpeg {

namespace {

constexpr int kGreyLevels = 236;

[[noreturn]] void jumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, kFailedJump);
}

// Warnings (a file that ends early, corrupt data the library skips) are
// only counted: the picture shows what decoded.
void countWarning(j_common_ptr info, int level)
{
    if (level < 0)
        ++info->err->num_warnings;
}
void printNothing(j_common_ptr) {}

void limitScans(j_common_ptr common)
{
    const auto* info = reinterpret_cast<j_decompress_ptr>(common);
    auto* progress = reinterpret_cast<Progress*>(info->progress);
    if (info->input_scan_number != progress->scan) {
        progress->scan = info->input_scan_number;
        for (int i = 0; i < info->comps_in_scan; ++i)
            progress->blockVisits += std::uint64_t{info->cur_comp_info[i]->width_in_blocks} *
                                     info->cur_comp_info[i]->height_in_blocks;
    }
    if (info->input_scan_number > tunables::kMaxScans ||
        progress->blockVisits > tunables::kMaxBlockVisits)
        ERREXIT(common, JERR_BAD_PROGRESSION);
    if (progress->source)
        endPortionIfLate(*progress->source);
    if (progress->pauseWhenLate && progress->unitsThisStep++ > 0 &&
        SliceClock::now() >= progress->deadline)
        std::longjmp(reinterpret_cast<ErrorJump*>(common->err)->jump, kPausedJump);
}

} // namespace

void prepare(jpeg_decompress_struct& info, ErrorJump& error, Progress& progress)
{
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpOut;
    error.manager.emit_message = countWarning;
    error.manager.output_message = printNothing;
    progress.manager.progress_monitor = limitScans;
}

void configure(jpeg_decompress_struct& info)
{
    info.dct_method = JDCT_FLOAT;
    info.do_block_smoothing = TRUE;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        info.out_color_space = JCS_GRAYSCALE;
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = kGreyLevels;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        // libjpeg cannot make RGB of these (JERR_CONVERSION_NOTIMPL).
        info.out_color_space = JCS_CMYK;
        break;
    default:
        info.out_color_space = JCS_RGB;
        break;
    }
}

// Adobe writes CMYK inverted (0 = full ink); the marker says so.
void cmykToRgb(const JSAMPLE* cmyk, std::uint8_t* rgb, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        rgb[0] = static_cast<std::uint8_t>((c * k + 127) / 255);
        rgb[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        rgb[2] = static_cast<std::uint8_t>((y * k + 127) / 255);
    }
}

void indicesToGrey(std::uint8_t* row, JDIMENSION width, const JSAMPLE* levels)
{
    for (JDIMENSION x = 0; x < width; ++x)
        row[x] = levels[row[x]];
}

} // namespace jpeg

namespace {

struct HeaderSession {
    jpeg_decompress_struct info;
    jpeg::ErrorJump error;
    jpeg::Progress progress;
};

// Destroys the decompressor however reading the header ends.
struct SessionGuard {
    HeaderSession& session;
    ~SessionGuard() { jpeg_destroy_decompress(&session.info); }
};

bool openHeader(HeaderSession& session, const std::uint8_t* data, std::size_t size)
{
    if (setjmp(session.error.jump))
        return false;
    jpeg_create_decompress(&session.info);
    session.info.progress = &session.progress.manager;
    jpeg_mem_src(&session.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&session.info, TRUE);
    return true;
}

} // namespace

bool isJpegStart(const std::uint8_t* data, std::size_t size)
{
    return size >= 2 && data[0] == 0xFF && data[1] == 0xD8;
}

std::optional<PictureHeader> readJpegHeader(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return std::nullopt;
    HeaderSession session{};
    jpeg::prepare(session.info, session.error, session.progress);
    SessionGuard guard{session};
    if (!openHeader(session, data, size))
        return std::nullopt;
    const jpeg_decompress_struct& info = session.info;
    PictureHeader header{.width = static_cast<int>(info.image_width),
                         .height = static_cast<int>(info.image_height)};
    budget::Cost& cost = header.cost;
    cost.pixels = std::uint64_t{info.image_width} * info.image_height;
    cost.bytes = cost.pixels * (info.jpeg_color_space == JCS_GRAYSCALE ? 1 : 3);
    // Progressive and multi-scan files keep every block until the last scan.
    const bool buffered = info.progressive_mode || info.comps_in_scan < info.num_components;
    std::vector<budget::ComponentBlocks> components;
    for (int i = 0; i < info.num_components; ++i) {
        const jpeg_component_info& c = info.comp_info[i];
        const std::uint64_t wide = c.width_in_blocks, high = c.height_in_blocks;
        components.push_back({c.component_id, wide * high});
        if (buffered) {
            const std::uint64_t h = c.h_samp_factor, v = c.v_samp_factor;
            cost.bytes += (wide + h - 1) / h * h * ((high + v - 1) / v * v) * sizeof(JBLOCK);
        }
        cost.blockVisits += wide * high;
    }
    // A file whose first scan holds every component has no second one
    // (libjpeg refuses it): walking its megabytes would tell nothing more.
    if (buffered)
        cost.blockVisits = budget::countBlockVisits(data, size, components);
    if (info.arith_code)
        cost.blockVisits *= tunables::kArithmeticBlockCost;
    header.orientation = exifOrientation(data, size);
    return header;
}

} // namespace pictures
