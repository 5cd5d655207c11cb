#include "core/FolderListing.h"

#include "core/Platform.h"
#include "core/TextEncoding.h"

#include <algorithm>

namespace folderlisting {

bool hasExtension(std::string_view name, std::span<const std::string_view> extensions)
{
    return std::any_of(extensions.begin(), extensions.end(), [&](std::string_view extension) {
        return name.size() >= extension.size() &&
               std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                          [](char want, char c) { return want == asciiLower(c); });
    });
}

bool hasExtension(std::string_view name, std::initializer_list<std::string_view> extensions)
{
    return hasExtension(name, std::span(extensions.begin(), extensions.size()));
}

bool isPictureName(std::string_view name)
{
    return hasExtension(name, kPictureExtensions);
}

std::vector<std::string> regularFiles(const std::string& folder,
                                      const std::function<bool(std::string_view)>& takes)
{
    std::vector<std::string> names;
    platform::forEachEntry(folder, [&](const platform::FolderEntry& entry) {
        const std::string_view name = entry.name();
        if (!entry.isHidden() && takes(name) && entry.isRegularFile())
            names.emplace_back(name);
    });
    return names;
}

std::vector<std::string> regularFiles(const std::string& folder,
                                      std::initializer_list<std::string_view> extensions)
{
    return regularFiles(folder,
                        [&](std::string_view name) { return hasExtension(name, extensions); });
}

} // namespace folderlisting
