#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// bildbewertung-starten [FOLDER]: what the command line asks for, and the
// start itself with the dialogs and the program run replaceable, so tests
// drive it without windows or a second process.
namespace starter {

enum class Request { Choose, Open, Help, Version, Usage };

struct Arguments {
    Request request = Request::Choose;
    std::string folder;  // Open: the folder's bytes exactly as given
    std::string problem; // Usage: what was wrong, one line
};

// args: the command line without the program name.
Arguments parseArguments(const std::vector<std::string>& args);

// Why folder cannot be the working folder (German, for the warning box),
// or nothing when it is a folder.
std::optional<std::string> folderProblem(const std::string& folder);

// What became of running the judging program in a folder. A real run
// replaces the process and never returns; a test's runner returns the exit
// code its fake program would have.
struct RunOutcome {
    enum class Failure { None, Folder, Program };
    Failure failure = Failure::None;
    int exitCode = 0;
};

struct Environment {
    std::function<std::optional<std::string>()> chooseFolder; // nothing on cancel
    std::function<RunOutcome(const std::string& folder)> runIn;
    std::function<void(const std::string& textUtf8)> warn;
    std::string programPath;    // named when it cannot be started
    std::string templateFolder; // named in the help text
    std::string version;
    std::ostream& out;
    std::ostream& err;
};

// The starter's exit code.
int start(const Arguments& arguments, const Environment& environment);

} // namespace starter
