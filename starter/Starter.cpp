#include "starter/Starter.h"

#include "common/FileName.h"
#include "common/ProgramSetup.h"
#include "starter/Texts.h"

#include <cerrno>

#include <sys/stat.h>

namespace starter {

namespace {

std::string shown(const std::string& bytes)
{
    return common::displayFileName(bytes).toStdString();
}

int openFolder(const std::string& folder, const Environment& env)
{
    if (const auto problem = folderProblem(folder)) {
        env.warn(*problem);
        return 1;
    }
    const RunOutcome outcome = env.runIn(folder);
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

common::ProgramUsage usage(const std::string& templateFolder)
{
    return {startertexts::kProgram, common::programVersion(),
            startertexts::description(templateFolder), startertexts::kExitCodes};
}

std::optional<std::string> folderProblem(const std::string& folder)
{
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return startertexts::folderMissing(shown(folder));
        return startertexts::folderNotOpened(shown(folder));
    }
    if (!S_ISDIR(status.st_mode))
        return startertexts::notAFolder(shown(folder));
    return std::nullopt;
}

int start(const std::optional<std::string>& folder, const Environment& env)
{
    if (folder)
        return openFolder(*folder, env);
    if (const auto chosen = env.chooseFolder())
        return openFolder(*chosen, env);
    return 0;
}

} // namespace starter
