#pragma once

#include <optional>
#include <string>
#include <string_view>

// Texts are bytes everywhere in the core; these turn them into Unicode only
// for showing and ordering them. Bytes that are not UTF-8 are read as
// Windows-1252, the code page older cameras and Windows tools write.

// The code point of one Windows-1252 byte. The five bytes the code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own value, a
// C1 control, as Windows' own conversion does: nothing is lost and names
// differing only there still sort apart.
char16_t windows1252CodePoint(unsigned char byte);

// Well-formed UTF-8: no overlong forms, surrogates or code points above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

std::string windows1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of UTF-8 text; nothing when the text is not
// valid UTF-8 or holds a character the code page does not have.
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

// One UTF-16 code unit per byte: every Windows-1252 character is in the BMP.
std::u16string windows1252ToUtf16(std::string_view bytes);

// UTF-8 when the bytes are valid UTF-8, else read as Windows-1252.
std::string displayText(std::string_view bytes);

// A to Z as a to z; every other byte as it is (names and keys compared
// without regard to ASCII case).
constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string asciiLower(std::string text);
