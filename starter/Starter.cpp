#include "starter/Starter.h"

#include "common/FileName.h"
#include "common/ProgramSetup.h"
#include "core/FolderListing.h"
#include "core/Platform.h"
#include "starter/Texts.h"

namespace starter {

namespace {

std::string shown(const std::string& bytes)
{
    return common::displayFileName(bytes).toStdString();
}

// A rating sheet given (Explorer opens one with the starter) stands for its folder.
std::string folderOf(const std::string& path)
{
    const auto status = platform::status(path);
    if (!status || !status->regular || !folderlisting::hasExtension(path, {".qel"}))
        return path;
    std::size_t end = path.size();
    while (end > 0 && !platform::isSeparator(path[end - 1]))
        --end;
    return end == 0 ? std::string(".") : path.substr(0, end);
}

int openFolder(const std::string& given, const Environment& env)
{
    const std::string folder = folderOf(given);
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
    case RunOutcome::Failure::FolderTooLong:
        env.warn(startertexts::folderTooDeep(shown(folder)));
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
    return {startertexts::kProgram,
            common::programVersion(),
            startertexts::description(templateFolder),
            startertexts::kExitCodes,
            {{startertexts::kExampleFlag, startertexts::kExampleExplanation}}};
}

std::optional<std::string> folderProblem(const std::string& folder)
{
    const auto status = platform::status(folder);
    if (!status) {
        if (platform::lastFailure() == platform::Failure::missing)
            return startertexts::folderMissing(shown(folder));
        return startertexts::folderNotOpened(shown(folder));
    }
    if (!status->folder)
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
