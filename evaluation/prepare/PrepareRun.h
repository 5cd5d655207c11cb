#pragma once

#include "core/NewFolder.h"

#include <ostream>
#include <string>

// Preparing a competition from a terminal: what the window does, without
// questions; clubs script it.
namespace evaluation {

struct PrepareRequest {
    std::string entries;      // the members' pictures (a folder per member)
    std::string target;       // the competition folder to make; the list goes beside it
    bool anonymous = true;    // numbered copies without metadata
    std::string templateFile; // Qel.max when the entries folder has none
    std::string guide;        // the judges' guide copied in
};

// Reads, checks and writes as the window does and says in German on `out`
// what it wrote, on `err` what it left out and why nothing was written: 0
// written, 1 nothing written. Fonts must be there (a QGuiApplication) to
// measure the descriptions.
int prepareOnTerminal(const PrepareRequest& request, std::ostream& out, std::ostream& err);

// The message of a writing that failed, "%1" standing for the path it names.
const char* writingFailureText(newfolder::Outcome outcome);

} // namespace evaluation
