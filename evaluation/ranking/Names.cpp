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

void setNameDisplay(NameDisplay display)
{
    nameDisplay.store(display);
}

} // namespace evaluation
