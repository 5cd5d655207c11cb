#include "evaluation/ranking/Names.h"

#include "core/TextEncoding.h"

#include <atomic>

namespace evaluation {

namespace {

std::string coreDisplay(std::string_view bytes)
{
    return displayText(bytes);
}

// Set once at start-up, read by the window's reading thread too.
std::atomic<NameDisplay> nameDisplay{&coreDisplay};

} // namespace

std::string shownName(std::string_view bytes)
{
    return nameDisplay.load()(bytes);
}

std::string controlsReplaced(std::string_view utf8, std::string_view replacement,
                             bool keepLineBreaks)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) { // U+0080..U+009F
            out += replacement;
            ++i;
        } else if ((byte < 0x20 || byte == 0x7F) && !(keepLineBreaks && byte == '\n')) {
            out += replacement;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

void setNameDisplay(NameDisplay display)
{
    nameDisplay.store(display);
}

} // namespace evaluation
