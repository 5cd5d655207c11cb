#include "core/RatingFile.h"

#include "core/Messages.h"
#include "core/Platform.h"
#include "core/TextEncoding.h"
#include "core/TextFile.h"

namespace ratingfile {

std::string judgeNameFromPath(const std::string& chosenPath)
{
    const auto slash = chosenPath.rfind('/');
    std::string name = slash == std::string::npos ? chosenPath : chosenPath.substr(slash + 1);
    // The last four characters go whatever they are, as the chosen file's
    // extension is not checked.
    constexpr std::size_t kExtensionLength = sizeof kExtension - 1;
    name.resize(name.size() > kExtensionLength ? name.size() - kExtensionLength : 0);
    return name;
}

std::optional<std::string> fileNameForJudge(const std::string& judgeName)
{
    if (platform::fileNameProblem(judgeName + kExtension))
        return std::nullopt;
    return judgeName + kExtension;
}

std::string nameRefusal(const std::string& judgeName)
{
    const auto problem = platform::fileNameProblem(judgeName + kExtension);
    if (!problem)
        return {};
    switch (problem->kind) {
    case platform::NameProblem::forbiddenCharacter:
        return messages::forbiddenInFileName(platform::systemName(), problem->character);
    case platform::NameProblem::controlCharacter:
        return messages::controlInFileName(platform::systemName());
    case platform::NameProblem::deviceName:
        return messages::deviceAsFileName(displayText(judgeName));
    case platform::NameProblem::tooLong:
        break;
    }
    return messages::kFileNameTooLong;
}

std::string fileIdentity(const std::string& path)
{
    return platform::resolvedPath(path).value_or(std::string());
}

bool asksBeforeOverwriting(const std::string& fileName, const std::string& sheetFile)
{
    if (!platform::status(fileName, platform::Links::doNotFollow))
        return false;
    return sheetFile.empty() || fileIdentity(fileName) != sheetFile;
}

bool save(const std::string& judgeName, const rating::Sheet& sheet)
{
    const auto fileName = fileNameForJudge(judgeName);
    return fileName && textfile::writeLinesAtomically(*fileName, sheet);
}

std::optional<rating::Sheet> load(const std::string& path)
{
    return textfile::readLines(path);
}

} // namespace ratingfile
