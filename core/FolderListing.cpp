#include "core/FolderListing.h"

#include <algorithm>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace folderlisting {

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Only links and file systems that do not report the type cost a stat.
bool isRegularFile(int folderFd, const dirent& entry)
{
    if (entry.d_type == DT_REG)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info {};
    return ::fstatat(folderFd, entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
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
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return names;
    const int folderFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name[0] != '.' && hasExtension(name, extensions) && isRegularFile(folderFd, *entry))
            names.emplace_back(name);
    }
    return names;
}

} // namespace folderlisting
