#pragma once

#include <string_view>

// Whether `name` names a device on Windows, so that no file of that name can
// be made there: CON, PRN, AUX, NUL, COM0-9, LPT0-9 and (on recent versions)
// COM and LPT with a superscript 1, 2 or 3, in any letter case, whatever
// extension follows and with spaces around. The same rule on both systems,
// for every name that may travel to Windows.
bool isWindowsDeviceName(std::string_view name);
