#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// `PROGRAM [--help|--version] [FLAGS] [FOLDER]`: the command line of the
// programs that work on one competition folder, with one wording for all.
namespace common {

struct Flag {
    std::string name;        // "--window"
    std::string explanation; // its line in the help, German
    std::string value = {};  // "ORDNER" when the flag takes a value, e.g. "--ausgabe ORDNER"
};

// What a program tells about itself on the terminal.
struct ProgramUsage {
    std::string program;          // "bildbewertung-starten"
    std::string version;          // "2.3"
    std::string description;      // the help's paragraphs between the call and the options
    std::string exitCodes;        // the help's closing "Rückgabewert: ..." paragraph
    std::vector<Flag> flags = {}; // what the program takes besides --help and --version
    bool severalFolders = false;  // more than one ORDNER may be given
};

struct CommandLine {
    enum class Request { Run, Help, Version, Usage };
    Request request = Request::Run;
    std::optional<std::string> folder; // the first folder, its bytes exactly as given
    std::vector<std::string> folders;  // every folder given, in order
    std::vector<std::string> flags;    // the program's own flags that were given
    std::vector<std::pair<std::string, std::string>> values; // flag and its value, as given
    std::string problem;                                     // Usage: what was wrong, one line

    bool has(const std::string& flag) const;
    // The value of a flag that takes one; the last one given wins.
    std::optional<std::string> value(const std::string& flag) const;
};

// A wrong call found by the program itself (e.g. two flags that exclude
// each other): answered like the parser's own.
CommandLine wrongCall(const ProgramUsage& usage, const std::string& what);

// args: the command line without the program name. "--" ends the options.
CommandLine parseCommandLine(const std::vector<std::string>& args, const ProgramUsage& usage);
CommandLine parseCommandLine(int argc, char** argv, const ProgramUsage& usage);

// Answers --help and --version on out and a wrong call on err; the exit
// code then (0, or 2 for a wrong call), nothing when the program is to run.
std::optional<int> answerOnTerminal(const CommandLine& commandLine, const ProgramUsage& usage,
                                    std::ostream& out, std::ostream& err);

std::string helpText(const ProgramUsage& usage);

} // namespace common
