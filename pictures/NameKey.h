#pragma once

#include <string>
#include <string_view>

namespace pictures {

// The form in which a name written on another PC meets the name on disk:
// decoded (UTF-8 where valid, else Windows-1252), case folded and in NFC,
// so "Über.jpg" in Windows-1252, in UTF-8 or decomposed as a Mac writes it,
// and "über.JPG", all give the same key. Returned as UTF-8.
std::string nameKey(std::string_view bytes);

} // namespace pictures
