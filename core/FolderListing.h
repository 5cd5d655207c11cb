#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Which files of a folder a program takes: the pictures, the rating files.
namespace folderlisting {

// The names the judging program lists as pictures, in lower case with the
// dot: the one list every program and the chooser use. Here, below both
// pictures/ and common/, so the chooser (which may not use pictures/) shares it.
inline constexpr std::array<std::string_view, 2> kPictureExtensions{".jpg", ".jpeg"};
// Other names a JPEG goes by (browsers save ".jfif"). Only the preparation
// takes them: it names its copies with kPictureExtensions' first, so the
// judging list shows them.
inline constexpr std::array<std::string_view, 2> kOtherJpegExtensions{".jpe", ".jfif"};

// Whether name ends in one of extensions (written in lower case with the
// dot, e.g. ".jpg"), in any ASCII letter case.
bool hasExtension(std::string_view name, std::span<const std::string_view> extensions);
bool hasExtension(std::string_view name, std::initializer_list<std::string_view> extensions);

// Whether name ends in ".jpg" or ".jpeg", in any letter case.
bool isPictureName(std::string_view name);

// The names (bytes as on disk, without the folder) of folder's regular
// files, links to regular files included, that `takes`; hidden files
// (FolderEntry::isHidden) and everything else excluded. In the folder's own
// order; nothing when it cannot be read.
std::vector<std::string> regularFiles(const std::string& folder,
                                      const std::function<bool(std::string_view)>& takes);
// ... whose names have one of extensions.
std::vector<std::string> regularFiles(const std::string& folder,
                                      std::initializer_list<std::string_view> extensions);

} // namespace folderlisting
