#include "starter/Dialogs.h"
#include "starter/Launch.h"

#include "QtApplication.h"

#include <QFileDialog>
#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

class Launch : public ::testing::Test {
  protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        root_ = fs::temp_directory_path() /
                ("bb-launch-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(root_);
    }
    static std::string read(const fs::path& file)
    {
        std::stringstream bytes;
        bytes << std::ifstream(file, std::ios::binary).rdbuf();
        return bytes.str();
    }
    fs::path previous_, root_;
};

// A copy of the starter beside a stand-in for the judging program that
// notes where it ran and exits with the code it is told: the folder's bytes
// reach the program, and its exit code is the starter's.
TEST_F(Launch, RunsTheProgramBesideItInTheFolder)
{
    fs::create_directories(root_ / "bin");
    fs::copy_file(BB_STARTER, root_ / "bin/bildbewertung-starten");
    std::ofstream(root_ / "bin/bildbewertung")
        << "#!/bin/sh\npwd -P > \"$BB_NOTE\"\necho \"$PWD\" >> \"$BB_NOTE\"\nexit $BB_EXIT\n";
    fs::permissions(root_ / "bin/bildbewertung", fs::perms::owner_all);
    const struct {
        std::string folder;
        bool absolute;
        int exitCode;
    } cases[] = {
        {"Wettbewerb 2024", false, 0},
        {"Fotoclub Übersee – Herbst", true, 3},
        {"Alte\xe4 Bilder \xff", false, 7},
        {"-Ordner mit Strich", false, 42},
    };
    fs::current_path(root_);
    for (const auto& c : cases) {
        fs::create_directory(root_ / c.folder);
        const std::string note = (root_ / "note").string();
        const std::string code = std::to_string(c.exitCode);
        ::setenv("BB_NOTE", note.c_str(), 1);
        ::setenv("BB_EXIT", code.c_str(), 1);
        const std::string starterPath = (root_ / "bin/bildbewertung-starten").string();
        const std::string folder = c.absolute ? (root_ / c.folder).string() : c.folder;
        char dashes[] = "--";
        char* argv[] = {const_cast<char*>(starterPath.c_str()), dashes,
                        const_cast<char*>(folder.c_str()), nullptr};
        pid_t child = 0;
        ASSERT_EQ(::posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << c.folder;
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << c.folder;
        const std::string where = fs::canonical(root_ / c.folder).string() + "\n";
        EXPECT_EQ(read(note), where + where) << c.folder;
        fs::remove(note);
    }
    ::unsetenv("BB_NOTE");
    ::unsetenv("BB_EXIT");
}

TEST_F(Launch, ReportsWhatFailedWhenItCannotRun)
{
    fs::current_path(root_);
    EXPECT_EQ(starter::execIn("/bin/true", (root_ / "weg").string()).failure,
              starter::RunOutcome::Failure::Folder);
    EXPECT_EQ(starter::execIn((root_ / "bildbewertung").string(), root_.string()).failure,
              starter::RunOutcome::Failure::Program);
    EXPECT_EQ(starter::starterFolder(),
              fs::canonical("/proc/self/exe").parent_path().string() + "/");
}

// Qt's own dialog with its German caption, starting in the pictures folder
// (else home), and leaving no settings behind.
TEST_F(Launch, ChooserStartsInPicturesAndKeepsNoSettings)
{
    ensureQtApplication();
    const std::string home = qEnvironmentVariable("HOME").toStdString();
    const std::string configHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
    ::setenv("HOME", (root_ / "home").c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    fs::create_directories(root_ / "home/Wettbewerb Ä");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((root_ / "config").string()));

    const struct {
        bool picturesExists;
        bool accept;
        std::string startsIn;
    } cases[] = {
        {true, true, "home/Pictures"},
        {false, false, "home"},
    };
    for (const auto& c : cases) {
        if (c.picturesExists)
            fs::create_directories(root_ / "home/Pictures");
        else
            fs::remove_all(root_ / "home/Pictures");
        QString caption, startedIn;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            poll.stop();
            caption = dialog->windowTitle();
            startedIn = dialog->directory().absolutePath();
            if (c.accept) {
                dialog->setDirectory(
                    QString::fromStdString((root_ / "home/Wettbewerb Ä").string()));
                static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
            } else {
                dialog->reject();
            }
        });
        poll.start(10);
        const auto chosen = starter::chooseFolderWithDialog(starter::picturesOrHome());
        EXPECT_EQ(caption.toStdString(), "Wettbewerbsordner wählen");
        EXPECT_EQ(startedIn.toStdString(), (root_ / c.startsIn).string());
        EXPECT_EQ(chosen,
                  c.accept ? std::optional((root_ / "home/Wettbewerb Ä").string()) : std::nullopt);
    }
    EXPECT_FALSE(fs::exists(root_ / "config/QtProject.conf"));
    EXPECT_FALSE(fs::exists(root_ / "home/.config/QtProject.conf"));
    ::setenv("HOME", home.c_str(), 1);
    if (!configHome.empty())
        ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
}

} // namespace
