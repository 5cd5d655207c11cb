#pragma once

#include <cstddef>
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

// The pictures of a folder, looked up by the name part of a line.
class PictureNames {
  public:
    explicit PictureNames(const std::vector<std::string>& pictures);

    // The position of the picture the line names, or nothing when the line
    // has no name part or names no picture. Two pictures written alike (a
    // line break and a "?"): the first one.
    std::optional<std::size_t> pictureNamedBy(std::string_view line) const;

  private:
    std::unordered_map<std::string, std::size_t> positions_;
};

} // namespace rating
