#pragma once

#include "core/PictureNames.h"
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
    std::vector<std::size_t> addedPictures; // their positions
    std::vector<std::size_t> keptLines;     // the kept lines' positions in the file
    std::vector<std::size_t> alikeLines;    // of those, the ones naming pictures alike
    std::vector<std::size_t> twiceLines;    // and those naming a picture that has its line
};

// Places each line at the picture it names (PictureNames with `key`); a line
// without a name part stays at its position; a picture left without a line
// gets a new one; lines naming no picture, several alike, or one that
// already has its line, are kept after the pictures' lines in their order.
// Nothing when that gives the loaded lines as they stand (each naming the
// picture at its position).
std::optional<Placement> placeByName(const Sheet& lines, const std::vector<std::string>& pictures,
                                     const NameKey& key);

} // namespace rating
