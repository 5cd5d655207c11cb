#include "core/DeviceNames.h"

#include "core/TextEncoding.h"

#include <algorithm>
#include <array>
#include <string>

bool isWindowsDeviceName(std::string_view name)
{
    name = name.substr(0, name.find('.'));
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    const std::string stem =
        asciiLower(std::string(name.substr(first, name.find_last_not_of(' ') - first + 1)));
    static constexpr std::array<std::string_view, 4> devices{"con", "prn", "aux", "nul"};
    if (std::find(devices.begin(), devices.end(), stem) != devices.end())
        return true;
    if (stem.rfind("com", 0) != 0 && stem.rfind("lpt", 0) != 0)
        return false;
    const std::string_view number = std::string_view(stem).substr(3);
    // The digits, and the superscripts 1, 2, 3 in UTF-8.
    static constexpr std::array<std::string_view, 13> numbers{
        "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}
