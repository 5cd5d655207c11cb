#include "common/CommandLine.h"

#include <algorithm>

namespace common {

namespace {

std::string synopsis(const ProgramUsage& usage)
{
    std::string call = "Aufruf: " + usage.program;
    for (const Flag& flag : usage.flags)
        call += " [" + flag.name + "]";
    return call + " [ORDNER]\n";
}

std::string optionLine(const std::string& name, const std::string& explanation)
{
    std::string line = "  " + name;
    line.resize(std::max<std::size_t>(line.size() + 2, 13), ' ');
    return line + explanation + "\n";
}

bool declared(const ProgramUsage& usage, const std::string& arg)
{
    return std::any_of(usage.flags.begin(), usage.flags.end(),
                       [&](const Flag& flag) { return flag.name == arg; });
}

CommandLine wrongCall(const ProgramUsage& usage, const std::string& what)
{
    CommandLine result;
    result.request = CommandLine::Request::Usage;
    result.problem = usage.program + ": " + what + "\n";
    return result;
}

} // namespace

bool CommandLine::has(const std::string& flag) const
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

CommandLine parseCommandLine(const std::vector<std::string>& args, const ProgramUsage& usage)
{
    CommandLine result;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (option && arg == "--") {
            optionsEnded = true;
        } else if (option && (arg == "--help" || arg == "--version")) {
            CommandLine answer;
            answer.request =
                arg == "--help" ? CommandLine::Request::Help : CommandLine::Request::Version;
            return answer;
        } else if (option && declared(usage, arg)) {
            if (!result.has(arg))
                result.flags.push_back(arg);
        } else if (option) {
            return wrongCall(usage, "unbekannte Option „" + arg + "“");
        } else if (result.folder) {
            return wrongCall(usage, "bitte nur einen Ordner angeben");
        } else {
            result.folder = arg;
        }
    }
    return result;
}

CommandLine parseCommandLine(int argc, char** argv, const ProgramUsage& usage)
{
    return parseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc), usage);
}

std::string helpText(const ProgramUsage& usage)
{
    std::string help = synopsis(usage) + "\n" + usage.description + "\nOptionen:\n" +
                       optionLine("--help", "diese Hilfe zeigen") +
                       optionLine("--version", "die Version zeigen");
    for (const Flag& flag : usage.flags)
        help += optionLine(flag.name, flag.explanation);
    return help + optionLine("--", "Ende der Optionen (für Ordner, deren Name mit - beginnt)") +
           "\n" + usage.exitCodes;
}

std::optional<int> answerOnTerminal(const CommandLine& commandLine, const ProgramUsage& usage,
                                    std::ostream& out, std::ostream& err)
{
    switch (commandLine.request) {
    case CommandLine::Request::Run:
        return std::nullopt;
    case CommandLine::Request::Help:
        out << helpText(usage);
        return 0;
    case CommandLine::Request::Version:
        out << usage.program << ' ' << usage.version << '\n';
        return 0;
    case CommandLine::Request::Usage:
        err << commandLine.problem << synopsis(usage) << "Mehr mit: " << usage.program
            << " --help\n";
        return 2;
    }
    return 2;
}

} // namespace common
