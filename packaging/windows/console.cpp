#include <windows.h>

// The terminal shows the programs' UTF-8 text (umlauts, names) as such
// instead of in the console's old code page.
namespace {

const bool utf8Console = [] {
    SetConsoleOutputCP(CP_UTF8);
    return true;
}();

} // namespace
