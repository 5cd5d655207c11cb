// libFuzzer target for the entrant list, made by hand in any spreadsheet:
// rows come out as readable UTF-8 without control characters.

#include "evaluation/ranking/Entrants.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// No C0 control, DEL or C1 control (U+0080..U+009F, "\xc2\x80".."\xc2\x9f").
bool readable(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7f || (c == 0xc2 && next >= 0x80 && next <= 0x9f))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const evaluation::EntrantList list =
        evaluation::parseEntrantList(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const evaluation::EntrantRow& row : list.rows)
        if (!readable(row.entrant.title) || !readable(row.entrant.author))
            std::abort();
    return 0;
}
