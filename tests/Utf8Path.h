#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths between the tests' UTF-8 names and std::filesystem. On Windows a
// narrow string is read in the C library's code page (byte by byte), so
// "Ähre.jpg" would land on disk as "Ã„hre.jpg"; on Linux both are the bytes.
inline std::filesystem::path utf8Path(std::string_view name)
{
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

// The path as the programs take it: UTF-8 bytes.
inline std::string utf8String(const std::filesystem::path& path)
{
    const std::u8string bytes = path.u8string();
    return std::string(bytes.begin(), bytes.end());
}
