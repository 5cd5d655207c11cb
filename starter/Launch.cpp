#include "starter/Launch.h"

#include <climits>
#include <cstdlib>

#include <unistd.h>

namespace starter {

std::string starterFolder()
{
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = length > 0 ? std::string(self, static_cast<size_t>(length)) : "";
    const auto slash = path.rfind('/');
    path.resize(slash == std::string::npos ? 0 : slash + 1);
    return path;
}

RunOutcome execIn(const std::string& program, const std::string& folder)
{
    if (::chdir(folder.c_str()) != 0)
        return {RunOutcome::Failure::Folder, 1};
    // A shell's cd keeps PWD in step; the program should see the same.
    if (char* here = ::getcwd(nullptr, 0)) {
        ::setenv("PWD", here, 1);
        std::free(here);
    }
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ::execv(program.c_str(), argv);
    return {RunOutcome::Failure::Program, 1};
}

} // namespace starter
