#pragma once

// The evaluation's tunables, in one place. The limits it shares with the
// judging program (what a picture may cost) are in core/Tunables.h.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace tunables {

// Thumbnails: the longer side in pixels, as stored and drawn in the PDF and
// the page (bench_evaluation: decode and encode time per picture).
inline constexpr int kThumbnailSide = 240;
// JPEG quality of the stored thumbnails: the page stays small for the web,
// print keeps the detail (bench_evaluation: page size in bytes).
inline constexpr int kPageQuality = 80;
inline constexpr int kPrintQuality = 94;
// The thumbnails kept on disk between runs: raise the rule's version when
// the decode, the shrink or the JPEG qualities change, so old ones are not
// taken. The bound holds some 12,000 pictures at about 40 KB each
// (bench_evaluation: a second run of 200 pictures, bytes per picture).
inline constexpr int kThumbnailRuleVersion = 3;
inline constexpr std::uint64_t kThumbnailCacheBytes = std::uint64_t{500} << 20;
// The window's table: side of its small thumbnails in pixels.
inline constexpr int kTableThumbnailSide = 64;
// The window's table: a heading wider than this many pixels (a judge's
// long name, a criterion's caption) is shortened in its middle, "…".
inline constexpr int kHeadingWidth = 140;
// The table gets new thumbnails at most this often, in batches, as they are
// made (bench_evaluation_window: the first visible row's thumbnail).
inline constexpr std::chrono::milliseconds kThumbnailBatch{250};
// The preparation's table: smaller, so that ten entries show at 1366 x 768.
inline constexpr int kEntryThumbnailSide = 28;

// The provisional note in every output lists this many missing parts, then
// says how many more.
inline constexpr std::size_t kNoteItems = 5;

// The terminal, the PDF and the window list this many problems of one kind,
// then say how many more (the CSV keeps its note on every picture).
inline constexpr std::size_t kProblemsOfAKind = 20;

// A problem quotes a line that names nothing of the folder in at most this
// many characters: it may be any line of any file.
inline constexpr std::size_t kQuotedCharacters = 40;

// The terminal table wraps at a terminal's usual width; the ranking of up to
// five judges fits it.
inline constexpr std::size_t kTerminalColumns = 100;

// The window: quiet time after the last file event before the inputs are
// compared (bench_evaluation_window: a save reaches the files).
inline constexpr std::chrono::milliseconds kSettle{200};
// However long a burst of saves goes on, the inputs are compared this long
// after its first change (test Watcher.ABurstIsComparedWithinItsBound).
inline constexpr std::chrono::milliseconds kBurstBound{1000};
// The window also looks at the folder itself this often: a share tells of
// no save made on another PC, and a folder that came back gives no events
// (bench_evaluation_window: one look at 500 pictures).
inline constexpr std::chrono::milliseconds kLook{2000};
// An output held open by another program (Windows: a PDF viewer, a
// spreadsheet) is asked this often whether it is free again; then the
// window writes at once, without waiting for the next save.
inline constexpr std::chrono::milliseconds kHeldLook{1000};

// The presentation: the band's text is 1/this of the screen height, read
// from the back of a club room on a projector (1/20 at the least).
inline constexpr int kBandTextPerScreen = 18;

} // namespace tunables
