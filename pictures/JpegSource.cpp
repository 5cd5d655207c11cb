#include "pictures/JpegSource.h"

#include <algorithm>

#include <jerror.h>

namespace pictures {

namespace {

// libjpeg backs up to the start of a marker it could not read whole, so a
// portion should hold the longest usual one (tables: a few hundred bytes).
constexpr std::size_t kMinPortion = std::size_t{2} << 10;
constexpr std::size_t kMaxPortion = std::size_t{32} << 10;

SlicedSource& sourceOf(j_decompress_ptr info)
{
    return *reinterpret_cast<SlicedSource*>(info->src);
}

bool inData(const SlicedSource& s)
{
    return s.manager.next_input_byte >= s.data && s.manager.next_input_byte <= s.data + s.size;
}

// Where the reader stands; past the end while it reads the fake end marker.
std::size_t position(const SlicedSource& s)
{
    return inData(s) ? static_cast<std::size_t>(s.manager.next_input_byte - s.data) : s.size;
}

void exposeUpTo(SlicedSource& s, std::size_t end)
{
    const std::size_t at = position(s);
    s.exposed = std::clamp(end, s.exposed, s.size);
    s.manager.next_input_byte = s.data + at;
    s.manager.bytes_in_buffer = s.exposed - at;
}

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

// Called when the reader has used up what was exposed; the bytes from
// next_input_byte on are what it backs up to if this returns FALSE.
boolean fillInput(j_decompress_ptr info)
{
    SlicedSource& s = sourceOf(info);
    if (s.exposed < s.size) {
        if (s.sliced && SliceClock::now() >= s.deadline)
            return FALSE;
        const std::size_t from = s.exposed;
        s.exposed = std::min(s.size, s.exposed + s.portion);
        s.portion = std::min(kMaxPortion, s.portion * 2);
        s.manager.next_input_byte = s.data + from;
        s.manager.bytes_in_buffer = s.exposed - from;
        return TRUE;
    }
    static const JOCTET kEndMarker[2] = {0xFF, JPEG_EOI};
    WARNMS(info, JWRN_JPEG_EOF);
    s.manager.next_input_byte = kEndMarker;
    s.manager.bytes_in_buffer = sizeof kEndMarker;
    return TRUE;
}

// Skipping cannot suspend; the bytes are in memory, so it may pass the
// portion's end.
void skipInput(j_decompress_ptr info, long count)
{
    SlicedSource& s = sourceOf(info);
    if (count <= 0)
        return;
    auto left = static_cast<std::size_t>(count);
    while (left > s.manager.bytes_in_buffer) {
        left -= s.manager.bytes_in_buffer;
        if (inData(s) && s.exposed < s.size) {
            s.manager.next_input_byte += s.manager.bytes_in_buffer;
            s.manager.bytes_in_buffer = 0;
            exposeUpTo(s, s.exposed + std::max(left, s.portion));
        } else {
            fillInput(info); // the end marker again, as libjpeg's memory source does
        }
    }
    s.manager.next_input_byte += left;
    s.manager.bytes_in_buffer -= left;
}

} // namespace

void useSlicedSource(jpeg_decompress_struct& info, SlicedSource& source, const std::uint8_t* data,
                     std::size_t size)
{
    source.manager.init_source = initSource;
    source.manager.fill_input_buffer = fillInput;
    source.manager.skip_input_data = skipInput;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = termSource;
    source.manager.next_input_byte = data;
    source.manager.bytes_in_buffer = 0;
    source.data = data;
    source.size = size;
    source.exposed = 0;
    source.firstPortion = kMinPortion;
    source.stepStart = static_cast<std::size_t>(-1); // no step yet
    source.sliced = false;
    source.deadline = kNoDeadline;
    info.src = &source.manager;
}

void beginStep(SlicedSource& s, Deadline deadline, bool sliced)
{
    s.deadline = deadline;
    s.sliced = sliced;
    s.unitsThisStep = 0;
    if (!inData(s))
        return; // at the fake end marker: nothing left to hand out
    const std::size_t at = position(s);
    if (!sliced) {
        exposeUpTo(s, s.size);
        return;
    }
    // A marker longer than the portion would stall every step: grow it.
    s.firstPortion = at == s.stepStart ? std::min(s.size, s.firstPortion * 2) : kMinPortion;
    s.stepStart = at;
    s.portion = s.firstPortion;
    exposeUpTo(s, at + s.firstPortion);
}

void endPortionIfLate(SlicedSource& s)
{
    if (!s.sliced || s.unitsThisStep++ == 0 || !inData(s) || SliceClock::now() < s.deadline)
        return;
    s.exposed = position(s);
    s.manager.bytes_in_buffer = 0;
}

} // namespace pictures
