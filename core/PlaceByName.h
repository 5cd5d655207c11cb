#pragma once

#include "core/RatingSheet.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace rating {

// A loaded sheet with every line at the picture it names.
struct Placement {
    Sheet sheet;           // one line per picture in list order, then the lines kept
    std::size_t moved = 0; // lines now at another picture's position
    std::size_t kept = 0;  // lines after the pictures' lines
    std::size_t added = 0; // pictures given a new zero line
};

// Places each line at the picture it names (PictureNames); a line without a
// name part stays at its position; a picture left without a line gets a new
// one; lines naming no picture, or one that already has its line, are kept
// after the pictures' lines in their order. Nothing when that gives the
// loaded lines as they stand (each naming the picture at its position).
std::optional<Placement> placeByName(const Sheet& lines, const std::vector<std::string>& pictures);

} // namespace rating
