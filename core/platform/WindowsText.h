#pragma once

// What the Windows platform files share: names between UTF-8 and UTF-16,
// file times as nanoseconds since 1970, drawing a free name, replacing a file.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

std::wstring widen(std::string_view text);
// A path for the wide API. Beyond MAX_PATH (or `always`, for a folder names
// are joined to) the absolute "\\?\" form, which Windows takes up to 32,767
// characters whether or not long paths are enabled on the PC.
std::wstring widePath(std::string_view path, bool always = false);
std::string narrow(std::wstring_view wide);
std::int64_t nanoseconds(const FILETIME& time);

// Replaces the last six characters of `path` with drawn letters until
// `create` succeeds; gives up on another error than `taken` or after 100 draws.
template <class Create> bool tryUniqueNames(std::string& path, DWORD taken, Create create)
{
    static std::atomic<unsigned> counter{GetTickCount() ^ (GetCurrentProcessId() << 16)};
    constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t at = path.size() - 6;
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned n = counter.fetch_add(7919) * 2654435761u;
        for (std::size_t i = 0; i < 6; ++i, n /= 36)
            path[at + i] = kLetters[n % 36];
        if (create())
            return true;
        if (GetLastError() != taken)
            return false;
    }
    return false;
}

// Renames `from` over `to`. Windows refuses to replace a file while any
// handle is open on it, shared or not: a reader of the old one (the
// organiser's window reading a judge's sheet, a virus scanner) holds it for
// a moment, which is waited out for up to about a second.
bool moveReplacing(const std::wstring& from, const std::wstring& to, DWORD flags = 0);

} // namespace platform
