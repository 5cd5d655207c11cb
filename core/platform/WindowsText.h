#pragma once

// What the Windows platform files share: names between UTF-8 and UTF-16,
// file times as nanoseconds since 1970.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view wide);
std::int64_t nanoseconds(const FILETIME& time);

} // namespace platform
