#include "core/FolderListing.h"

#include "core/Platform.h"

#include <algorithm>

namespace folderlisting {

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool hasExtension(std::string_view name, std::initializer_list<std::string_view> extensions)
{
    return std::any_of(extensions.begin(), extensions.end(), [&](std::string_view extension) {
        return name.size() >= extension.size() &&
               std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                          [](char want, char c) { return want == lower(c); });
    });
}

std::vector<std::string> regularFiles(const std::string& folder,
                                      std::initializer_list<std::string_view> extensions)
{
    std::vector<std::string> names;
    platform::forEachEntry(folder, [&](const platform::FolderEntry& entry) {
        const std::string_view name = entry.name();
        if (!entry.isHidden() && hasExtension(name, extensions) && entry.isRegularFile())
            names.emplace_back(name);
    });
    return names;
}

} // namespace folderlisting
