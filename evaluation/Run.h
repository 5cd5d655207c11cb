#pragma once

#include <ostream>
#include <string>

namespace evaluation {

enum ExitCode { kDone = 0, kInputProblem = 1, kUsage = 2 };

// The whole evaluation of a folder: reads it, writes Rangliste.csv and
// Rangliste.pdf into it, prints the table to `out` and every problem and
// stop message to `err`. Needs a QGuiApplication.
int evaluate(const std::string& folder, std::ostream& out, std::ostream& err);

} // namespace evaluation
