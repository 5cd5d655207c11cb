#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pictures {

// The JPEG in `jpeg` as a judge may see it without learning its author: the
// compressed picture byte for byte with its tables, the JFIF segment, the
// ICC profile, Adobe's colour transform (without it CMYK and RGB files
// decode differently) and the EXIF orientation (in a new EXIF segment of
// that one tag, when it is not 1); every other APP segment (EXIF, XMP,
// IPTC, maker notes) and every comment left out, nothing after the end
// marker. Nothing when the markers are not as a JPEG's must be: the walk
// refuses rather than guesses.
std::optional<std::string> withoutAuthor(std::string_view jpeg);

} // namespace pictures
