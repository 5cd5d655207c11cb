#include "evaluation/ranking/Names.h"

#include "core/TextEncoding.h"
#include "evaluation/Tunables.h"

#include <algorithm>

namespace evaluation {

namespace {

// The bytes of an invisible or direction control at the start of `utf8`
// (U+061C, U+200B..U+200F, U+202A..U+202E, U+2060..U+2069, U+FEFF): they
// would reorder or hide what a reader sees. 0 for anything else.
std::size_t invisibleLength(std::string_view utf8)
{
    if (utf8.size() < 2)
        return 0;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    if (at(0) == 0xD8 && at(1) == 0x9C)
        return 2;
    if (utf8.size() < 3)
        return 0;
    const bool invisible =
        (at(0) == 0xE2 && at(1) == 0x80 &&
         ((at(2) >= 0x8B && at(2) <= 0x8F) || (at(2) >= 0xAA && at(2) <= 0xAE))) ||
        (at(0) == 0xE2 && at(1) == 0x81 && at(2) >= 0xA0 && at(2) <= 0xA9) ||
        (at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF);
    return invisible ? 3 : 0;
}

} // namespace

std::string shownName(std::string_view bytes)
{
    return displayText(bytes);
}

std::string controlsReplaced(std::string_view utf8, std::string_view replacement,
                             bool keepLineBreaks)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) { // U+0080..U+009F
            out += replacement;
            ++i;
        } else if (const std::size_t length = invisibleLength(utf8.substr(i))) {
            out += replacement;
            i += length - 1;
        } else if ((byte < 0x20 || byte == 0x7F) && !(keepLineBreaks && byte == '\n')) {
            out += replacement;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

std::string quotedName(std::string_view text)
{
    const auto starts = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    if (std::size_t(std::count_if(text.begin(), text.end(), starts)) <= tunables::kQuotedCharacters)
        return std::string(text);
    std::size_t characters = 0, end = 0;
    while (end < text.size() &&
           !(starts(text[end]) && characters++ == tunables::kQuotedCharacters - 1))
        ++end;
    return std::string(text.substr(0, end)) + "…";
}

} // namespace evaluation
