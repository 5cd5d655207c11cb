#include "starter/Launch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

fs::path scratch(const char* name)
{
    fs::path root = fs::temp_directory_path() / (name + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    return root;
}

// A copy of the starter beside a stand-in for the judging program that notes
// where it ran and exits as told: the folder's bytes reach the program, and
// its exit code is the starter's.
TEST(Launch, RunsTheProgramBesideItInTheFolder)
{
    const fs::path root = scratch("bb-launch-");
    fs::create_directories(root / "bin");
    fs::copy_file(BB_STARTER, root / "bin/bildbewertung-starten");
    std::ofstream(root / "bin/bildbewertung")
        << "#!/bin/sh\npwd -P > note\necho \"$PWD\" >> note\nexit $BB_EXIT\n";
    fs::permissions(root / "bin/bildbewertung", fs::perms::owner_all);
    const struct {
        std::string folder;
        int exitCode;
    } cases[] = {{"Wettbewerb 2024", 0},
                 {(root / "Fotoclub Übersee – Herbst").string(), 3},
                 {"Alte\xe4 Bilder \xff", 7},
                 {"-Ordner mit Strich", 42}};
    const fs::path previous = fs::current_path();
    fs::current_path(root);
    for (const auto& c : cases) {
        fs::create_directory(c.folder);
        ::setenv("BB_EXIT", std::to_string(c.exitCode).c_str(), 1);
        std::string starterPath = (root / "bin/bildbewertung-starten").string(), dashes = "--",
                    folder = c.folder;
        char* argv[] = {starterPath.data(), dashes.data(), folder.data(), nullptr};
        pid_t child = 0;
        int status = 0;
        ASSERT_EQ(::posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ), 0);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.exitCode) << c.folder;
        const std::string where = fs::canonical(c.folder).string() + "\n";
        std::stringstream note;
        note << std::ifstream(fs::path(c.folder) / "note").rdbuf();
        EXPECT_EQ(note.str(), where + where) << c.folder;
    }
    EXPECT_EQ(starter::execIn("/bin/true", "weg").failure, starter::RunOutcome::Failure::Folder);
    EXPECT_EQ(starter::execIn((root / "bildbewertung").string(), ".").failure,
              starter::RunOutcome::Failure::Program);
    fs::current_path(previous);
    fs::remove_all(root);
}

} // namespace
