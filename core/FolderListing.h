#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Which files of a folder a program takes: the pictures, the rating files.
namespace folderlisting {

// Whether name ends in one of extensions (written in lower case with the
// dot, e.g. ".jpg"), in any ASCII letter case.
bool hasExtension(std::string_view name, std::initializer_list<std::string_view> extensions);

// The names (bytes as on disk, without the folder) of folder's regular
// files, links to regular files included, whose names have one of
// extensions; hidden files (FolderEntry::isHidden) and everything else excluded. In
// the folder's own order; nothing when it cannot be read.
std::vector<std::string> regularFiles(const std::string& folder,
                                      std::initializer_list<std::string_view> extensions);

} // namespace folderlisting
