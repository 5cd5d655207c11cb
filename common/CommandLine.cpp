#include "common/CommandLine.h"

#include <algorithm>

#ifdef _WIN32
#include <QString>

#include <windows.h>

#include <shellapi.h>
#endif

namespace common {

namespace {

std::string synopsis(const ProgramUsage& usage)
{
    std::string call = "Aufruf: " + usage.program;
    for (const Flag& flag : usage.flags)
        call += " [" + flag.name + (flag.value.empty() ? "" : " " + flag.value) + "]";
    return call + (usage.severalFolders ? " [ORDNER…]\n" : " [ORDNER]\n");
}

std::string optionLine(const std::string& name, const std::string& explanation)
{
    std::string line = "  " + name;
    line.resize(std::max<std::size_t>(line.size() + 2, 13), ' ');
    return line + explanation + "\n";
}

const Flag* declared(const ProgramUsage& usage, const std::string& arg)
{
    const auto found = std::find_if(usage.flags.begin(), usage.flags.end(),
                                    [&](const Flag& flag) { return flag.name == arg; });
    return found == usage.flags.end() ? nullptr : &*found;
}

} // namespace

CommandLine wrongCall(const ProgramUsage& usage, const std::string& what)
{
    CommandLine result;
    result.request = CommandLine::Request::Usage;
    result.problem = usage.program + ": " + what + "\n";
    return result;
}

std::optional<std::string> CommandLine::value(const std::string& flag) const
{
    std::optional<std::string> found;
    for (const auto& [name, given] : values)
        if (name == flag)
            found = given;
    return found;
}

bool CommandLine::has(const std::string& flag) const
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

CommandLine parseCommandLine(const std::vector<std::string>& args, const ProgramUsage& usage)
{
    CommandLine result;
    bool optionsEnded = false;
    for (auto it = args.begin(); it != args.end(); ++it) {
        const std::string& arg = *it;
        const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        // "--ausgabe=ORDNER" as well as "--ausgabe ORDNER"
        const std::size_t equals = option ? arg.find('=') : std::string::npos;
        const Flag* withValue =
            equals != std::string::npos ? declared(usage, arg.substr(0, equals)) : nullptr;
        const Flag* flag = option ? declared(usage, arg) : nullptr;
        if (withValue && !withValue->value.empty()) {
            result.values.emplace_back(withValue->name, arg.substr(equals + 1));
        } else if (flag && !flag->value.empty()) {
            if (std::next(it) == args.end())
                return wrongCall(usage, "„" + arg + "“ braucht " + flag->value);
            result.values.emplace_back(arg, *++it);
        } else if (option && arg == "--") {
            optionsEnded = true;
        } else if (option && (arg == "--help" || arg == "--version")) {
            CommandLine answer;
            answer.request =
                arg == "--help" ? CommandLine::Request::Help : CommandLine::Request::Version;
            return answer;
        } else if (flag) {
            if (!result.has(arg))
                result.flags.push_back(arg);
        } else if (option) {
            return wrongCall(usage, "unbekannte Option „" + arg + "“");
        } else if (result.folder && !usage.severalFolders) {
            return wrongCall(usage, "bitte nur einen Ordner angeben");
        } else {
            if (!result.folder)
                result.folder = arg;
            result.folders.push_back(arg);
        }
    }
    return result;
}

CommandLine parseCommandLine(int argc, char** argv, const ProgramUsage& usage)
{
#ifdef _WIN32
    // The narrow argv is in the code page of the PC (UTF-8 only where the
    // manifest's setting is honoured): the wide command line holds every name.
    (void)argc;
    (void)argv;
    int count = 0;
    std::vector<std::string> args;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            args.push_back(QString::fromWCharArray(wide[i]).toStdString());
        LocalFree(wide);
    }
    return parseCommandLine(args, usage);
#else
    return parseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc), usage);
#endif
}

std::string helpText(const ProgramUsage& usage)
{
    std::string help = synopsis(usage) + "\n" + usage.description + "\nOptionen:\n" +
                       optionLine("--help", "diese Hilfe zeigen") +
                       optionLine("--version", "die Version zeigen");
    for (const Flag& flag : usage.flags)
        help += optionLine(flag.value.empty() ? flag.name : flag.name + " " + flag.value,
                           flag.explanation);
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
