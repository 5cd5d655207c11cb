#pragma once

#include "core/FolderListing.h"

#include <string>
#include <string_view>
#include <vector>

namespace pictures {

// Whether a name is a picture's (folderlisting::kPictureExtensions, in any
// letter case; the list lives in the core, where the chooser reaches it too).
using folderlisting::isPictureName;

// The pictures of a folder, as the picture list takes them: the names
// (without folder, bytes as on disk) of the regular files, or links to
// regular files, whose names are pictures' (isPictureName);
// hidden files (leading ".") excluded. Sorted by the user's locale,
// case-insensitively (accents count), digits compared as characters;
// names equal under that order keep a fixed byte order.
std::vector<std::string> listPictures(const std::string& folder = ".");

} // namespace pictures
