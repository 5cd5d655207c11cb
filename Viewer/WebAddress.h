#pragma once

// The web page behind the maker's button, shown on it as a host name; the
// build sets it (BB_WEB_HOST, a CMake cache variable).
namespace webaddress {
inline constexpr char kHost[] = BB_WEB_HOST;
}
