#pragma once

// What the header reader and the decoder share: libjpeg's error handling,
// the scan limit and the output settings.

#include "pictures/JpegSource.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

// libjpeg reports errors by calling error_exit, which must not return. We
// longjmp back out of the C frames; every function that arms the jump keeps
// only trivially destructible locals, so no destructor is ever skipped, and
// exceptions are thrown only outside those frames.

namespace pictures::jpeg {

struct ErrorJump {
    jpeg_error_mgr manager; // first, so that libjpeg's pointer is ours too
    std::jmp_buf jump;
};

// What error.jump is given: libjpeg failed, or the monitor paused.
inline constexpr int kFailedJump = 1, kPausedJump = 2;

struct Progress {
    jpeg_progress_mgr manager; // first, so that libjpeg's pointer is ours too
    int scan;
    std::uint64_t blockVisits;
    SlicedSource* source; // while decoding in steps
    // While the scans are absorbed, the monitor (called between rows of
    // blocks) jumps out once `deadline` has passed, after the step's first
    // row; libjpeg's state is whole there, and jpeg_start_decompress goes on
    // where it stood. Suspending the input is not enough: a scan whose data
    // ran out goes on without reading, and an arithmetic-coded one cannot
    // suspend at all (it gets all input at once).
    bool pauseWhenLate;
    unsigned unitsThisStep;
    Deadline deadline;
};

// Errors jump to `error.jump`, warnings are counted, the progress monitor
// limits the scans (and ends a sliced portion when late). `info` must be
// zero-initialised, so that destroying it is safe even when creating failed.
void prepare(jpeg_decompress_struct& info, ErrorJump& error, Progress& progress);

// Float IDCT, block smoothing, RGB out; grey through the 236-level quantizer;
// CMYK and YCCK as CMYK, converted by cmykToRgb.
void configure(jpeg_decompress_struct& info);

void cmykToRgb(const JSAMPLE* cmyk, std::uint8_t* rgb, JDIMENSION width, bool inverted);

// The quantizer gives indices; the bitmap holds the grey levels they stand for.
void indicesToGrey(std::uint8_t* row, JDIMENSION width, const JSAMPLE* levels);

} // namespace pictures::jpeg
