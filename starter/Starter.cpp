#include "starter/Starter.h"

#include "starter/Texts.h"

#include <QFile>

#include <cerrno>

#include <sys/stat.h>

namespace starter {

Arguments parseArguments(const std::vector<std::string>& args)
{
    Arguments result;
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--help") {
            return {Request::Help, {}, {}};
        } else if (!optionsEnded && arg == "--version") {
            return {Request::Version, {}, {}};
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return {Request::Usage, {}, startertexts::unknownOption(arg)};
        } else {
            folders.push_back(arg);
        }
    }
    if (folders.size() > 1)
        return {Request::Usage, {}, startertexts::tooManyFolders()};
    if (folders.size() == 1)
        result = {Request::Open, folders.front(), {}};
    return result;
}

std::optional<std::string> folderProblem(const std::string& folder)
{
    struct stat status {};
    const std::string shown = QFile::decodeName(folder.c_str()).toStdString();
    if (::stat(folder.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return startertexts::folderMissing(shown);
        return startertexts::folderNotOpened(shown);
    }
    if (!S_ISDIR(status.st_mode))
        return startertexts::notAFolder(shown);
    return std::nullopt;
}

namespace {

int openFolder(const std::string& folder, const Environment& env)
{
    if (const auto problem = folderProblem(folder)) {
        env.warn(*problem);
        return 1;
    }
    const RunOutcome outcome = env.runIn(folder);
    const auto shown = [](const std::string& bytes) {
        return QFile::decodeName(bytes.c_str()).toStdString();
    };
    switch (outcome.failure) {
    case RunOutcome::Failure::None:
        return outcome.exitCode;
    case RunOutcome::Failure::Folder:
        env.warn(startertexts::folderNotOpened(shown(folder)));
        return 1;
    case RunOutcome::Failure::Program:
        env.warn(startertexts::programNotStarted(shown(env.programPath)));
        return 1;
    }
    return 1;
}

} // namespace

int start(const Arguments& arguments, const Environment& env)
{
    switch (arguments.request) {
    case Request::Help:
        env.out << startertexts::help(env.templateFolder);
        return 0;
    case Request::Version:
        env.out << startertexts::kProgram << ' ' << env.version << '\n';
        return 0;
    case Request::Usage:
        env.err << arguments.problem << startertexts::kUsage;
        return 2;
    case Request::Open:
        return openFolder(arguments.folder, env);
    case Request::Choose:
        if (const auto chosen = env.chooseFolder())
            return openFolder(*chosen, env);
        return 0;
    }
    return 2;
}

} // namespace starter
