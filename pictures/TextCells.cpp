#include "pictures/TextCells.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace pictures {

namespace {

int cellsOf(UChar32 c)
{
    if (c < 0)
        return 1; // a broken byte shows as one replacement character
    const auto type = u_charType(c);
    if (type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK)
        return 0;
    const auto width = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

// Calls take(start, end, cells) for each character until it returns false.
template <typename Take> void forEachCharacter(std::string_view utf8, Take take)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (!take(std::size_t(start), std::size_t(i), cellsOf(c)))
            return;
    }
}

} // namespace

std::size_t displayCells(std::string_view utf8)
{
    std::size_t cells = 0;
    forEachCharacter(utf8, [&](std::size_t, std::size_t, int width) {
        cells += std::size_t(width);
        return true;
    });
    return cells;
}

std::size_t fittingBytes(std::string_view utf8, std::size_t cells)
{
    std::size_t used = 0, fitting = 0;
    forEachCharacter(utf8, [&](std::size_t, std::size_t end, int width) {
        if (used + std::size_t(width) > cells)
            return false;
        used += std::size_t(width);
        fitting = end;
        return true;
    });
    return fitting;
}

} // namespace pictures
