#pragma once

#include "pictures/Slices.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace pictures {

// A libjpeg data source over the file's bytes, all in memory already, that
// hands them out in portions and suspends the decoder (fill_input_buffer
// returns FALSE) once the step's deadline has passed: so absorbing the
// scans of a progressive file spreads over many short steps. Past the real
// end it warns and feeds end markers, as libjpeg's memory source does, so
// a file that ends early decodes the same; the rest of such a file's scan
// (decoded as if its data were zero) is sliced like any other.
struct SlicedSource {
    jpeg_source_mgr manager; // first, so that libjpeg's pointer is ours too
    const std::uint8_t* data;
    std::size_t size;
    std::size_t exposed;      // the decoder may read up to here
    const JOCTET* bufferEnd;  // the end of what was last handed out
    std::size_t portion;      // what the next refill within the step exposes
    std::size_t firstPortion; // what a step starts with
    std::size_t stepStart;    // where the reader stood when the step began
    unsigned unitsThisStep;   // progress monitor calls within the step
    bool refilledThisStep;    // a step's first refill never waits
    bool sliced;              // false: everything is exposed, nothing suspends
    Deadline deadline;
};

// `source` must outlive the decompressor's use of it.
void useSlicedSource(jpeg_decompress_struct& info, SlicedSource& source, const std::uint8_t* data,
                     std::size_t size);

// Starts a step. Sliced, it exposes a first portion whatever the clock says,
// so each step makes headway; a step that made none gets a larger one next.
void beginStep(SlicedSource& source, Deadline deadline, bool sliced);

// Called between units of input (libjpeg's progress monitor): once the
// deadline has passed, the portion ends where the reader stands, so that the
// next read suspends. Never within the first unit of a step.
void endPortionIfLate(SlicedSource& source);

} // namespace pictures
