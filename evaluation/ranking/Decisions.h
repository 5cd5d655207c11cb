#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The organiser's decisions about a competition: pictures left out of the
// ranking and the ranking declared final. Kept beside the folder in a
// file a person can read ("<Ordner> Entscheidungen.txt"), so every later
// run and window keeps them.
namespace evaluation {

inline constexpr char kDecisionsName[] = "Entscheidungen.txt";

// What one input of the ranking looked like: a rating file's name and lines,
// or (sheet "") the pictures' names and the criteria's maxima.
struct InputPrint {
    std::string sheet; // file name, bytes
    std::uint64_t hash = 0;

    bool operator==(const InputPrint&) const = default;
};

// A 64-bit FNV-1a over `bytes`, going on from `hash`: tells changes apart,
// nothing more.
std::uint64_t fingerprint(std::string_view bytes, std::uint64_t hash = 14695981039346656037ULL);

struct Exclusion {
    std::string picture; // file name, bytes
    std::string reason;  // UTF-8, one line
};

struct FinalDeclaration {
    std::string date;               // "08.12.2026"
    std::vector<InputPrint> inputs; // as they were when it was declared
};

struct Decisions {
    std::vector<Exclusion> exclusions;
    std::optional<FinalDeclaration> final;

    const Exclusion* exclusionOf(const std::string& picture) const;
    bool empty() const { return exclusions.empty() && !final; }
};

// The file's text and back; lines that are not understood are passed over.
std::string decisionsText(const Decisions& decisions);
Decisions parseDecisions(std::string_view text);

// The decisions kept at `path`: none when there is no file, nothing when it
// cannot be read.
std::optional<Decisions> readDecisions(const std::string& path);
// All or nothing; false when it could not be written.
bool writeDecisions(const std::string& path, const Decisions& decisions);

// Changes the decisions kept at `path` as they are there now (another
// organiser's window may have changed them); false when they cannot be
// read or written, and then nothing is changed.
bool changeDecisions(const std::string& path, const std::function<void(Decisions&)>& change);

// Leaves `picture` out with `reason`, or (no reason) takes it in again. A
// final declaration goes with it: the ranking is no longer what was declared.
void setExclusion(Decisions& decisions, const std::string& picture,
                  const std::optional<std::string>& reason);

// Why a declaration no longer holds: a line per rating file that is new,
// changed or gone, and one when the pictures or the criteria changed; none
// while it holds.
std::vector<std::string> changesSince(const FinalDeclaration& declaration,
                                      const std::vector<InputPrint>& now);

} // namespace evaluation
