#pragma once

#include "common/CommandLine.h"

#include <functional>
#include <optional>
#include <string>

// bildbewertung-starten [FOLDER]: the start itself with the dialogs and the
// program run replaceable, so tests drive it without windows or a second
// process.
namespace starter {

// What the starter tells on the terminal; templateFolder (where the package
// puts Qel.max and InfoQuintavo.pdf) is named in its help.
common::ProgramUsage usage(const std::string& templateFolder);

// Why folder cannot be the working folder (German, for the warning box),
// or nothing when it is a folder.
std::optional<std::string> folderProblem(const std::string& folder);

// What became of running the judging program in a folder. A real run
// replaces the process and never returns; a test's runner returns the exit
// code its fake program would have.
struct RunOutcome {
    // FolderTooLong: Windows without long paths enabled cannot work in a
    // folder whose path passes 258 characters.
    enum class Failure { None, Folder, FolderTooLong, Program };
    Failure failure = Failure::None;
    int exitCode = 0;
};

struct Environment {
    std::function<std::optional<std::string>()> chooseFolder; // nothing on cancel
    std::function<RunOutcome(const std::string& folder)> runIn;
    std::function<void(const std::string& textUtf8)> warn;
    std::string programPath; // named when it cannot be started
};

// The starter's exit code for the folder given, or the chooser's when none is.
int start(const std::optional<std::string>& folder, const Environment& environment);

} // namespace starter
