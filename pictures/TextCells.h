#pragma once

#include <cstddef>
#include <string_view>

// How many cells of a terminal a text takes: a combining mark none, a wide
// (East Asian) character two, every other character one. A control or an
// invisible character counts one: the terminal shows it as "?".
namespace pictures {

std::size_t displayCells(std::string_view utf8);

// The bytes of the longest start of `utf8` that fits in `cells` cells,
// whole characters only.
std::size_t fittingBytes(std::string_view utf8, std::size_t cells);

} // namespace pictures
