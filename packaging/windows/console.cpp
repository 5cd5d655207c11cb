#include <windows.h>

namespace {

const bool consoleSetUp = [] {
    DWORD processes[2];
    // Started from the Start menu or Explorer, the console was made for the
    // program alone and nobody reads it: it goes, leaving only the window.
    if (GetConsoleProcessList(processes, 2) == 1)
        FreeConsole();
    else // the terminal shows umlauts and names as UTF-8, not in its old code page
        SetConsoleOutputCP(CP_UTF8);
    return true;
}();

} // namespace
