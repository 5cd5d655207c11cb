#include "pictures/Jpeg.h"

#include "pictures/PictureMemory.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports errors by calling error_exit, which must not return. We
// longjmp back out of the C frames; every function that arms the jump keeps
// only trivially destructible locals, so no destructor is ever skipped.

namespace pictures {

namespace {

constexpr int kGreyLevels = 236;
constexpr JDIMENSION kRowsPerCall = 16;

struct ErrorJump {
    jpeg_error_mgr manager; // first, so that libjpeg's pointer is ours too
    std::jmp_buf jump;
};

struct Progress {
    jpeg_progress_mgr manager; // first, so that libjpeg's pointer is ours too
    int scan;
    std::uint64_t blockVisits;
};

struct Session {
    jpeg_decompress_struct info;
    ErrorJump error;
    Progress progress;
};

[[noreturn]] void jumpOut(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

// Warnings (a file that ends early, corrupt data the library skips) are
// ignored: the picture shows what decoded.
void ignoreMessage(j_common_ptr, int) {}
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
    if (info->input_scan_number > kMaxScans || progress->blockVisits > budget::kMaxBlockVisits)
        ERREXIT(common, JERR_BAD_PROGRESSION);
}

// `session` must be zero-initialised, so that destroying it is safe even
// when creating it failed.
void prepare(Session& session)
{
    session.info.err = jpeg_std_error(&session.error.manager);
    session.error.manager.error_exit = jumpOut;
    session.error.manager.emit_message = ignoreMessage;
    session.error.manager.output_message = printNothing;
    session.progress.manager.progress_monitor = limitScans;
}

// Destroys the decompressor however the decoding ends (also on bad_alloc).
struct SessionGuard {
    Session& session;
    ~SessionGuard() { jpeg_destroy_decompress(&session.info); }
};

bool openHeader(Session& session, const std::uint8_t* data, std::size_t size)
{
    if (setjmp(session.error.jump))
        return false;
    jpeg_create_decompress(&session.info);
    session.info.progress = &session.progress.manager;
    jpeg_mem_src(&session.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&session.info, TRUE);
    return true;
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

bool startDecoding(Session& session, const std::uint8_t* data, std::size_t size)
{
    if (!openHeader(session, data, size))
        return false;
    if (setjmp(session.error.jump))
        return false;
    configure(session.info);
    // Beyond this libjpeg wants a backing store, which it has not: an error.
    session.info.mem->max_memory_to_use = static_cast<long>(budget::kMaxDecodeBytes);
    jpeg_start_decompress(&session.info);
    return true;
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

// The quantizer gives indices; the bitmap holds the grey levels they stand for.
void indicesToGrey(std::uint8_t* row, JDIMENSION width, const JSAMPLE* levels)
{
    for (JDIMENSION x = 0; x < width; ++x)
        row[x] = levels[row[x]];
}

// libjpeg writes straight into the bitmap's rows; only CMYK goes through
// a scratch row.
bool readRows(Session& session, std::uint8_t* pixels, std::size_t stride)
{
    if (setjmp(session.error.jump))
        return false;
    jpeg_decompress_struct& info = session.info;
    const bool cmyk = info.out_color_space == JCS_CMYK;
    const bool quantized = info.quantize_colors;
    JSAMPARRAY scratch = nullptr;
    if (cmyk)
        scratch = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                            info.output_width * 4, kRowsPerCall);
    JSAMPROW rows[kRowsPerCall];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION wanted = std::min(kRowsPerCall, info.output_height - first);
        for (JDIMENSION i = 0; i < wanted; ++i)
            rows[i] = cmyk ? scratch[i] : pixels + (first + i) * stride;
        const JDIMENSION got = jpeg_read_scanlines(&info, rows, wanted);
        for (JDIMENSION i = 0; i < got; ++i) {
            std::uint8_t* row = pixels + (first + i) * stride;
            if (cmyk)
                cmykToRgb(scratch[i], row, info.output_width, info.saw_Adobe_marker);
            else if (quantized)
                indicesToGrey(row, info.output_width, info.colormap[0]);
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

Bitmap blackBitmap(int width, int height, PixelFormat format)
{
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.format = format;
    bitmap.stride = static_cast<std::size_t>(width) * (format == PixelFormat::Gray8 ? 1 : 3);
    const std::size_t bytes = bitmap.stride * static_cast<std::size_t>(height);
    bitmap.pixels = allocatePixels(bytes);
    return bitmap;
}

} // namespace

std::optional<JpegHeader> readJpegHeader(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return std::nullopt;
    Session session{};
    prepare(session);
    SessionGuard guard{session};
    if (!openHeader(session, data, size))
        return std::nullopt;
    const jpeg_decompress_struct& info = session.info;
    JpegHeader header{static_cast<int>(info.image_width), static_cast<int>(info.image_height), {}};
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
    }
    cost.blockVisits = budget::countBlockVisits(data, size, components);
    return header;
}

DecodedJpeg decodeJpeg(const std::uint8_t* data, std::size_t size, JpegHeader fallback)
{
    DecodedJpeg result;
    Session session{};
    prepare(session);
    SessionGuard guard{session};
    if (size == 0 || !startDecoding(session, data, size)) {
        result.error = size == 0 ? JERR_INPUT_EMPTY : session.error.manager.msg_code;
        result.bitmap = blackBitmap(fallback.width, fallback.height, PixelFormat::Rgb24);
        std::memset(result.bitmap.pixels.get(), 0,
                    result.bitmap.stride * static_cast<std::size_t>(fallback.height));
        return result;
    }
    const jpeg_decompress_struct& info = session.info;
    const auto format =
        info.out_color_space == JCS_GRAYSCALE ? PixelFormat::Gray8 : PixelFormat::Rgb24;
    result.bitmap = blackBitmap(static_cast<int>(info.output_width),
                                static_cast<int>(info.output_height), format);
    Bitmap& bitmap = result.bitmap;
    if (!readRows(session, bitmap.pixels.get(), bitmap.stride)) {
        result.error = session.error.manager.msg_code;
        // Rows the library had not handed out yet may hold anything.
        const std::size_t done = std::min<std::size_t>(info.output_scanline, bitmap.height);
        std::memset(bitmap.pixels.get() + done * bitmap.stride, 0,
                    (bitmap.height - done) * bitmap.stride);
    }
    return result;
}

} // namespace pictures
