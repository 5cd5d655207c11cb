#include "starter/Example.h"

#include "common/FileName.h"
#include "core/FolderListing.h"
#include "core/NewFolder.h"
#include "core/Platform.h"
#include "starter/Texts.h"

namespace starter {

ExampleFolder exampleFolder(const std::string& demo, const std::string& documents)
{
    const std::string target = documents + "/" + kExampleFolderName;
    if (const auto status = platform::status(target); status && status->folder)
        return {target, {}};
    const auto shown = [](const std::string& path) {
        return common::displayFileName(path).toStdString();
    };
    if (!platform::status(documents))
        platform::makeFolder(documents); // a new account may not have it yet
    newfolder::Plan plan{target, {}, {}, {}};
    for (const std::string& name :
         folderlisting::regularFiles(demo, [](std::string_view) { return true; }))
        plan.copies.push_back({std::string(demo).append("/").append(name), name});
    if (plan.copies.empty())
        return {std::nullopt, startertexts::exampleMissing(shown(demo))};
    const newfolder::Result result = newfolder::write(plan);
    if (result.outcome != newfolder::Outcome::Written)
        return {std::nullopt, startertexts::exampleNotCopied(shown(target))};
    return {target, {}};
}

} // namespace starter
