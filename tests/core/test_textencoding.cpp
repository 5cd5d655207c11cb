#include "core/TextEncoding.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(TextEncoding, TellsWellFormedUtf8)
{
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"Sch\xC3\xA4rfe", true},
        {"\xF0\x9F\x93\xB7", true},  // U+1F4F7, four bytes
        {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF, the last code point
        {"\xC0\xAF", false},         // overlong "/"
        {"\xE0\x80\xAF", false},     // overlong "/" in three bytes
        {"\xF0\x8F\xBF\xBF", false}, // overlong in four bytes
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\xE2\x82", false},         // cut short
        {"\xC3(", false},            // no continuation byte
        {"\x80", false},             // a lone continuation byte
    };
    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ(isValidUtf8(bytes), valid) << testing::PrintToString(bytes);
}

// The unassigned bytes become their C1 controls in both conversions, so a
// caption shows the same characters a name sorts by.
TEST(TextEncoding, ReadsWindows1252WithUnassignedBytesKept)
{
    EXPECT_EQ(displayText("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(windows1252ToUtf16("\x80\x81\x9F\xA0\xFF"), u"\u20AC\u0081\u0178\u00A0\u00FF");
    EXPECT_EQ(windows1252ToUtf8("\x80\x9F\xFF"), "\xE2\x82\xAC\xC5\xB8\xC3\xBF");
}

TEST(TextEncoding, WritesUtf8AsWindows1252OnlyWhereTheCodePageHasIt)
{
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"Sch\xC3\xA4rfe \xE2\x82\xAC \xC5\xB8", "Sch\xE4rfe \x80 \x9F"},
        {"\xC2\x81\xC3\xBF", "\x81\xFF"}, // an unassigned byte comes back as itself
        {"\xCE\xA9", std::nullopt},       // Greek Omega: not in the code page
        {"\xF0\x9F\x93\xB7", std::nullopt},
        {"\xE4", std::nullopt}, // not UTF-8
    };
    for (const auto& [utf8, bytes] : cases)
        EXPECT_EQ(utf8ToWindows1252(utf8), bytes) << testing::PrintToString(utf8);
}
} // namespace
