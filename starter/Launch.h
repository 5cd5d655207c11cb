#pragma once

#include "starter/Starter.h"

#include <string>

namespace starter {

// The folder this starter lies in, with a trailing slash, found through
// /proc/self/exe so neither PATH nor the current folder matter: the judging
// program is the one installed beside it.
std::string starterFolder();

// Makes folder the working folder and replaces this process by program, as
// `cd FOLDER; bildbewertung` would; the program's exit code is then ours.
// Returns only when that fails.
RunOutcome execIn(const std::string& program, const std::string& folder);

} // namespace starter
