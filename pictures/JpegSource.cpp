#include "pictures/JpegSource.h"

#include "core/Tunables.h"

#include <algorithm>

#include <jerror.h>

namespace pictures {

namespace {

// What follows the real end, as often as it is asked for: end markers, as
// many as the longest marker segment (64 KiB), so that one refill a step
// always completes a segment that runs past the end (libjpeg backs up to
// its start when it suspends).
struct EndMarkers {
    JOCTET bytes[std::size_t{64} << 10];
};
constexpr EndMarkers endMarkers()
{
    EndMarkers markers{};
    for (std::size_t i = 0; i < sizeof markers.bytes; ++i)
        markers.bytes[i] = i % 2 == 0 ? 0xFF : JPEG_EOI;
    return markers;
}
constexpr EndMarkers kEndMarkers = endMarkers();
const JOCTET* const kEndMarker = kEndMarkers.bytes;
const JOCTET* const kEndMarkerEnd = kEndMarker + sizeof kEndMarkers.bytes;

SlicedSource& sourceOf(j_decompress_ptr info)
{
    return *reinterpret_cast<SlicedSource*>(info->src);
}

bool inData(const SlicedSource& s)
{
    return s.manager.next_input_byte >= s.data && s.manager.next_input_byte <= s.data + s.size;
}

// Where the reader stands; the end while it reads an end marker.
std::size_t position(const SlicedSource& s)
{
    return inData(s) ? static_cast<std::size_t>(s.manager.next_input_byte - s.data) : s.size;
}

void handOut(SlicedSource& s, const JOCTET* from, const JOCTET* to)
{
    s.manager.next_input_byte = from;
    s.manager.bytes_in_buffer = static_cast<std::size_t>(to - from);
    s.bufferEnd = to;
}

void exposeUpTo(SlicedSource& s, std::size_t end)
{
    s.exposed = std::clamp(end, s.exposed, s.size);
    handOut(s, s.data + position(s), s.data + s.exposed);
}

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

// More bytes after bufferEnd, where the reader has got to; never waits.
void refill(j_decompress_ptr info)
{
    SlicedSource& s = sourceOf(info);
    if (s.bufferEnd <= s.data + s.size && s.exposed < s.size) {
        const std::size_t from = s.exposed;
        s.exposed = std::min(s.size, s.exposed + s.portion);
        s.portion = std::min(tunables::kMaxInputPortion, s.portion * 2);
        handOut(s, s.data + from, s.data + s.exposed);
    } else if (s.bufferEnd > kEndMarker && s.bufferEnd < kEndMarkerEnd) {
        handOut(s, s.bufferEnd, kEndMarkerEnd); // the rest of a paused one
    } else {
        WARNMS(info, JWRN_JPEG_EOF);
        handOut(s, kEndMarker, kEndMarkerEnd);
    }
}

// Called when the reader has used up what was handed out; the bytes from
// next_input_byte on are what it backs up to if this returns FALSE.
boolean fillInput(j_decompress_ptr info)
{
    SlicedSource& s = sourceOf(info);
    if (s.sliced && s.refilledThisStep && SliceClock::now() >= s.deadline)
        return FALSE;
    s.refilledThisStep = true;
    refill(info);
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
        s.manager.next_input_byte += s.manager.bytes_in_buffer;
        s.manager.bytes_in_buffer = 0;
        if (inData(s) && s.exposed < s.size)
            exposeUpTo(s, s.exposed + std::max(left, s.portion));
        else
            refill(info);
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
    source.data = data;
    source.size = size;
    source.exposed = 0;
    handOut(source, data, data);
    source.firstPortion = tunables::kMinInputPortion;
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
    s.refilledThisStep = false;
    if (!inData(s)) { // among end markers: hand out the rest of the one begun
        handOut(s, s.manager.next_input_byte, s.bufferEnd);
        return;
    }
    const std::size_t at = position(s);
    if (!sliced) {
        exposeUpTo(s, s.size);
        return;
    }
    // A marker longer than the portion would stall every step: grow it.
    s.firstPortion =
        at == s.stepStart ? std::min(s.size, s.firstPortion * 2) : tunables::kMinInputPortion;
    s.stepStart = at;
    s.portion = s.firstPortion;
    const std::size_t before = s.exposed;
    exposeUpTo(s, at + s.firstPortion);
    s.refilledThisStep = s.exposed > before; // then that was the step's free one
}

void endPortionIfLate(SlicedSource& s)
{
    if (!s.sliced || s.unitsThisStep++ == 0 || SliceClock::now() < s.deadline)
        return;
    if (inData(s))
        s.exposed = position(s);
    s.bufferEnd = s.manager.next_input_byte;
    s.manager.bytes_in_buffer = 0;
}

} // namespace pictures
