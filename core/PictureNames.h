#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Which picture a rating line names. The judging program and the evaluation
// program both ask this, so they always agree.
namespace rating {

// The name part of a line: everything after its sixteenth character (the
// fifteen digits and "-"); empty when the line has none.
std::string_view namePart(std::string_view line);

// A picture's name as a line carries it: CR and LF become "?", so one
// picture is always one line.
std::string writtenName(std::string_view pictureName);

// The form in which names written on other PCs meet the names on disk
// (decoded, NFC, case folded). It needs Unicode tables, which the core does
// not carry: the caller passes pictures::nameKey.
using NameKey = std::function<std::string(std::string_view)>;

// What a line's name part names.
struct NameMatch {
    std::optional<std::size_t> picture; // the position of the picture it names
    std::vector<std::size_t> alike;     // two or more pictures it names alike: none of them
};

// The pictures of a folder, looked up by the name part of a line: the name
// as written first, byte for byte; else its key, when that is the key of
// exactly one picture.
class PictureNames {
  public:
    PictureNames(const std::vector<std::string>& pictures, NameKey key);

    // Nothing when the line has no name part or names no picture. Two
    // pictures written alike (a line break and a "?"): the first one.
    NameMatch match(std::string_view line) const;
    std::optional<std::size_t> pictureNamedBy(std::string_view line) const
    {
        return match(line).picture;
    }

  private:
    NameKey key_;
    std::unordered_map<std::string, std::size_t> positions_;
    // Made at the first name not found as written: a sheet this program
    // wrote never needs it.
    mutable std::optional<std::unordered_map<std::string, std::vector<std::size_t>>> byKey_;
};

} // namespace rating
