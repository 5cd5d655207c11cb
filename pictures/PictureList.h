#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pictures {

// A picture's name ends in ".jpg" or ".jpeg", in any letter case.
bool isPictureName(std::string_view name);

// The pictures of a folder, as the picture list takes them: the names
// (without folder, bytes as on disk) of the regular files, or links to
// regular files, whose names end in ".jpg" or ".jpeg" in any letter case;
// hidden files (leading ".") excluded. Sorted by the user's locale,
// case-insensitively (accents count), digits compared as characters;
// names equal under that order keep a fixed byte order.
std::vector<std::string> listPictures(const std::string& folder = ".");

} // namespace pictures
