#include "pictures/Jpeg.h"

#include "core/Platform.h"
#include "core/Tunables.h"
#include "pictures/JpegSession.h"
#include "pictures/PictureMemory.h"

#include <algorithm>
#include <cstring>

#include <jerror.h>
// The coefficient arrays of a progressive or multi-scan file, to give their
// pages back in steps.
#include <jpegint.h>

namespace pictures {

// Lives on the heap: libjpeg keeps pointers to its parts between steps.
struct JpegDecoderSession {
    jpeg_decompress_struct info;
    jpeg::ErrorJump error;
    jpeg::Progress progress;
    SlicedSource source;
    JSAMPARRAY scratch;     // CMYK rows before conversion
    JDIMENSION touchedRows; // fresh pages faulted in so far
    int releasedComponent;  // coefficients given back so far: component,
    JDIMENSION releasedRow; // and block row within it
};

namespace {

using Session = JpegDecoderSession;

constexpr JDIMENSION kRowsPerCall = tunables::kDecodeRowsPerCall;
constexpr JDIMENSION kTouchRows = tunables::kTouchRows;

enum class Call { done, suspended, failed };

Call create(Session& s, const std::uint8_t* data, std::size_t size)
{
    if (setjmp(s.error.jump))
        return Call::failed;
    jpeg_create_decompress(&s.info);
    s.info.progress = &s.progress.manager;
    s.progress.source = &s.source;
    useSlicedSource(s.info, s.source, data, size);
    return Call::done;
}

Call readHeader(Session& s, int scaleDenominator)
{
    if (setjmp(s.error.jump))
        return Call::failed;
    if (jpeg_read_header(&s.info, TRUE) == JPEG_SUSPENDED)
        return Call::suspended;
    jpeg::configure(s.info);
    s.info.scale_num = 1;
    s.info.scale_denom = static_cast<unsigned>(scaleDenominator);
    // Beyond this libjpeg wants a backing store, which it has not: an error.
    s.info.mem->max_memory_to_use = static_cast<long>(tunables::kMaxDecodeBytes);
    return Call::done;
}

// For a progressive or multi-scan file this absorbs all scans.
Call start(Session& s, Deadline deadline)
{
    s.progress.pauseWhenLate = deadline != kNoDeadline;
    s.progress.unitsThisStep = 0;
    s.progress.deadline = deadline;
    switch (setjmp(s.error.jump)) {
    case 0:
        break;
    case jpeg::kPausedJump:
        s.progress.pauseWhenLate = false;
        return Call::suspended;
    default:
        return Call::failed;
    }
    if (!jpeg_start_decompress(&s.info))
        return Call::suspended;
    s.progress.pauseWhenLate = false;
    if (s.info.out_color_space == JCS_CMYK)
        s.scratch = (*s.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s.info),
                                                JPOOL_IMAGE, s.info.output_width * 4, kRowsPerCall);
    return Call::done;
}

// libjpeg writes straight into the bitmap's rows; only CMYK goes through
// the scratch rows. A call hands out one row group (one or two rows when
// upsampling, up to 16 from a progressive file), and the clock is looked
// at after each: a call that would end past the deadline waits for the
// next step. Fresh pages are faulted in kTouchRows at a time.
Call readRows(Session& s, std::uint8_t* pixels, std::size_t stride, bool touch, Deadline deadline)
{
    if (setjmp(s.error.jump))
        return Call::failed;
    jpeg_decompress_struct& info = s.info;
    const bool cmyk = info.out_color_space == JCS_CMYK;
    JSAMPROW rows[kRowsPerCall];
    Deadline callStart = SliceClock::now();
    SliceClock::duration call{};
    do {
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION wanted = std::min(kRowsPerCall, info.output_height - first);
        if (touch && first + wanted > s.touchedRows) {
            const JDIMENSION end = std::min(info.output_height, first + kTouchRows);
            touchPixels(pixels + first * stride, (end - first) * stride);
            s.touchedRows = end;
        }
        for (JDIMENSION i = 0; i < wanted; ++i)
            rows[i] = cmyk ? s.scratch[i] : pixels + (first + i) * stride;
        const JDIMENSION got = jpeg_read_scanlines(&info, rows, wanted);
        for (JDIMENSION i = 0; i < got; ++i) {
            std::uint8_t* row = pixels + (first + i) * stride;
            if (cmyk)
                jpeg::cmykToRgb(s.scratch[i], row, info.output_width, info.saw_Adobe_marker);
            else if (info.quantize_colors)
                jpeg::indicesToGrey(row, info.output_width, info.colormap[0]);
        }
        const Deadline now = SliceClock::now();
        call = now - callStart;
        callStart = now;
    } while (info.output_scanline < info.output_height && callStart + call < deadline);
    return info.output_scanline < info.output_height ? Call::suspended : Call::done;
}

constexpr std::uintptr_t kPage = 4096;
constexpr std::size_t kReleasePiece = tunables::kCoefficientReleasePiece;

std::uintptr_t address(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p);
}

// Gives back the pages of [from, to) that lie wholly inside it.
void releasePages(std::uintptr_t from, std::uintptr_t to)
{
    const std::uintptr_t start = (from + kPage - 1) & ~(kPage - 1), end = to & ~(kPage - 1);
    if (start < end)
        platform::discardPages(reinterpret_cast<void*>(start), end - start);
}

// After the last row a progressive or multi-scan file's coefficients (as
// large as the bitmap, or larger) are of no more use, but freeing them at
// once costs hundreds of milliseconds for a large picture. Their pages go
// back in pieces until the deadline; freeing them then only unmaps empty
// address space. Adjacent block rows are given back together.
Call releaseCoefficients(Session& s, Deadline deadline)
{
    if (setjmp(s.error.jump))
        return Call::failed;
    jpeg_decompress_struct& info = s.info;
    jvirt_barray_ptr* arrays = info.coef ? info.coef->coef_arrays : nullptr;
    std::uintptr_t runStart = 0, runEnd = 0;
    while (arrays && s.releasedComponent < info.num_components) {
        const jpeg_component_info& c = info.comp_info[s.releasedComponent];
        const auto v = static_cast<JDIMENSION>(c.v_samp_factor);
        const auto h = static_cast<JDIMENSION>(c.h_samp_factor);
        const JDIMENSION rows = (c.height_in_blocks + v - 1) / v * v;
        const JDIMENSION wide = (c.width_in_blocks + h - 1) / h * h;
        const std::size_t rowBytes = std::size_t{wide} * sizeof(JBLOCK);
        if (s.releasedRow >= rows) {
            ++s.releasedComponent;
            s.releasedRow = 0;
            continue;
        }
        JBLOCKARRAY blocks =
            (*info.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&info),
                                            arrays[s.releasedComponent], s.releasedRow, v, FALSE);
        s.releasedRow += v;
        bool released = false;
        for (JDIMENSION i = 0; i < v; ++i) {
            const std::uintptr_t row = address(blocks[i]);
            if (row != runEnd) {
                releasePages(runStart, runEnd);
                runStart = row;
            } else if (runEnd - runStart >= kReleasePiece) {
                releasePages(runStart, runEnd);
                runStart = runEnd & ~(kPage - 1); // the next piece begins where this one ended
                released = true;
            }
            runEnd = row + rowBytes;
        }
        if (released && SliceClock::now() >= deadline)
            break;
    }
    releasePages(runStart, runEnd);
    return arrays && s.releasedComponent < info.num_components ? Call::suspended : Call::done;
}

// Reads to the end of the file and frees the image's memory (a progressive
// file's coefficients: as much as the bitmap), a step of its own.
Call finish(Session& s)
{
    if (setjmp(s.error.jump))
        return Call::failed;
    jpeg_finish_decompress(&s.info);
    return Call::done;
}

Bitmap uninitialisedBitmap(int width, int height, PixelFormat format, PixelPool pool, bool& fresh)
{
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.format = format;
    bitmap.stride = static_cast<std::size_t>(width) * (format == PixelFormat::Gray8 ? 1 : 3);
    const std::size_t bytes = bitmap.stride * static_cast<std::size_t>(height);
    if (pool == PixelPool::shared) {
        bitmap.pixels = allocatePixels(bytes, &fresh);
    } else {
        bitmap.pixels = std::shared_ptr<std::uint8_t[]>(new std::uint8_t[bytes]);
        fresh = false;
    }
    return bitmap;
}

} // namespace

// What fails before any row is black at libjpeg's size at the scale: rounded up.
JpegDecoder::JpegDecoder(const std::uint8_t* data, std::size_t size, const PictureHeader& header,
                         int scaleDenominator, PixelPool pool)
    : session_(std::make_unique<Session>()), data_(data), size_(size),
      fallbackWidth_((header.width + scaleDenominator - 1) / scaleDenominator),
      fallbackHeight_((header.height + scaleDenominator - 1) / scaleDenominator),
      scaleDenominator_(scaleDenominator), pool_(pool)
{
    jpeg::prepare(session_->info, session_->error, session_->progress);
}

JpegDecoder::~JpegDecoder()
{
    jpeg_destroy_decompress(&session_->info);
}

bool JpegDecoder::step(Deadline deadline)
{
    Session& s = *session_;
    if (stage_ == Stage::create) {
        if (size_ == 0 || create(s, data_, size_) == Call::failed) {
            fail(false);
            return true;
        }
        stage_ = Stage::header;
    }
    // Input comes in portions until the scans are absorbed; then the rows
    // are the slices and all input is there. Arithmetic-coded scans get all
    // input at once and pause between rows of blocks instead.
    beginStep(s.source, deadline,
              deadline != kNoDeadline && stage_ < Stage::allocate && !arithmetic());
    while (stage_ != Stage::done) {
        Call call = Call::done;
        switch (stage_) {
        case Stage::header:
            call = readHeader(s, scaleDenominator_);
            break;
        case Stage::start:
            call = start(s, deadline);
            break;
        case Stage::allocate: {
            const auto format =
                s.info.out_color_space == JCS_GRAYSCALE ? PixelFormat::Gray8 : PixelFormat::Rgb24;
            const std::size_t bytes = std::size_t{s.info.output_width} * s.info.output_height *
                                      (format == PixelFormat::Gray8 ? 1 : 3);
            if (pool_ == PixelPool::shared && !makeRoomForPixels(bytes, deadline))
                return false;
            result_.bitmap = uninitialisedBitmap(static_cast<int>(s.info.output_width),
                                                 static_cast<int>(s.info.output_height), format,
                                                 pool_, freshPixels_);
            beginStep(s.source, deadline, false);
            break;
        }
        case Stage::rows:
            call = readRows(s, result_.bitmap.pixels.get(), result_.bitmap.stride, freshPixels_,
                            deadline);
            break;
        case Stage::release:
            call = releaseCoefficients(s, deadline);
            break;
        case Stage::finish:
            call = finish(s);
            break;
        case Stage::create:
        case Stage::done:
            break;
        }
        if (call == Call::suspended)
            return false;
        if (call == Call::failed) {
            fail(stage_ >= Stage::rows);
            return true;
        }
        stage_ = static_cast<Stage>(static_cast<int>(stage_) + 1);
        if (stage_ == Stage::start && arithmetic())
            beginStep(s.source, deadline, false);
        // The rows stop short of the deadline; finishing frees much memory.
        const bool late = stage_ == Stage::finish || SliceClock::now() >= deadline;
        if (stage_ != Stage::done && late && deadline != kNoDeadline)
            return false;
    }
    return true;
}

bool JpegDecoder::arithmetic() const
{
    return stage_ > Stage::header && session_->info.arith_code;
}

// Rows the library had not handed out yet may hold anything: black. When
// no row was made, the picture is black at the header's size.
void JpegDecoder::fail(bool rowsStarted)
{
    stage_ = Stage::done;
    result_.error = DecodeError{PictureFormat::jpeg,
                                size_ == 0 ? JERR_INPUT_EMPTY : session_->error.manager.msg_code};
    Bitmap& bitmap = result_.bitmap;
    if (!rowsStarted)
        bitmap = uninitialisedBitmap(fallbackWidth_, fallbackHeight_, PixelFormat::Rgb24, pool_,
                                     freshPixels_);
    const std::size_t done =
        rowsStarted ? std::min<std::size_t>(session_->info.output_scanline, bitmap.height) : 0;
    const std::size_t rest = (bitmap.height - done) * bitmap.stride;
    std::memset(bitmap.pixels.get() + done * bitmap.stride, 0, rest);
}

DecodedPicture JpegDecoder::take()
{
    result_.warned = session_->error.manager.num_warnings > 0;
    return std::move(result_);
}

} // namespace pictures
