#include "common/FolderChooser.h"

#include "QtApplication.h"

#include <QFileDialog>
#include <QListView>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// What the chooser showed and where it started.
struct Seen {
    QString caption, startedIn;
    QStringList shown; // the entries of the start folder, "(grau)" when greyed
};

// Runs the chooser; once it is open (and with `look` its start folder
// listed, or 5 s gone), notes what it shows and accepts `choose` (empty:
// cancels).
std::pair<std::optional<std::string>, Seen> runChooser(const fs::path& choose, bool look)
{
    Seen seen;
    QTimer poll;
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* list = dialog != nullptr ? dialog->findChild<QListView*>("listView") : nullptr;
        if (list == nullptr ||
            (look && list->model()->rowCount(list->rootIndex()) == 0 && ++ticks < 500))
            return; // not yet open, or its folder not yet read
        poll.stop();
        seen.caption = dialog->windowTitle();
        seen.startedIn = dialog->directory().absolutePath();
        for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
            const QModelIndex entry = list->model()->index(row, 0, list->rootIndex());
            seen.shown << entry.data().toString() +
                              (entry.flags() & Qt::ItemIsEnabled ? "" : " (grau)");
        }
        seen.shown.sort();
        dialog->setDirectory(QString::fromStdString(choose.string()));
        // QFileDialog hides accept().
        if (choose.empty())
            dialog->reject();
        else
            static_cast<QDialog*>(dialog)->accept();
    });
    poll.start(10);
    auto chosen = common::chooseCompetitionFolder();
    return {chosen, seen};
}

// The chooser starts in the folder chosen last time, else in the pictures
// folder, else at home; it shows a folder's pictures (and no other files)
// and keeps only its own note in the user's config folder.
TEST(FolderChooser, RemembersTheLastFolderAndShowsPictures)
{
    ensureQtApplication();
    const fs::path root = fs::temp_directory_path() / ("bb-chooser-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const QByteArray home = qgetenv("HOME"), configHome = qgetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", (root / "home").c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    for (const char* folder : {"home/Pictures/Wettbewerb Ä", "home/Zweiter"})
        fs::create_directories(root / folder);
    for (const char* file : {"Bild.JPG", "notiz.txt", ".versteckt.jpg"})
        std::ofstream(root / "home/Pictures" / file) << "x";
    const fs::path first = root / "home/Pictures/Wettbewerb Ä", second = root / "home/Zweiter";
    const auto removeFolder = [](const fs::path& path) { return [path] { fs::remove_all(path); }; };
    const struct {
        std::function<void()> before;
        fs::path choose; // empty: cancel
        fs::path startsIn;
    } cases[] = {
        {[] {}, first, root / "home/Pictures"},
        {[] {}, {}, first},
        {[] {}, second, first},
        {removeFolder(second), {}, root / "home/Pictures"},
        {removeFolder(root / "home/Pictures"), {}, root / "home"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        cases[i].before();
        const auto [chosen, seen] = runChooser(cases[i].choose, i == 0);
        EXPECT_EQ(seen.caption.toStdString(), "Wettbewerbsordner wählen") << i;
        EXPECT_EQ(seen.startedIn.toStdString(), cases[i].startsIn.string()) << i;
        EXPECT_EQ(chosen,
                  cases[i].choose.empty() ? std::nullopt : std::optional(cases[i].choose.string()))
            << i;
        if (i == 0) {
            EXPECT_EQ(seen.shown.join(", ").toStdString(), "Bild.JPG, Wettbewerb Ä");
        }
    }
    std::vector<std::string> configFiles;
    for (const auto& entry : fs::recursive_directory_iterator(root / "home/.config"))
        if (entry.is_regular_file())
            configFiles.push_back(entry.path().lexically_relative(root / "home").string());
    EXPECT_EQ(configFiles, std::vector<std::string>{".config/bildbewertung/ordnerwahl.conf"});
    qputenv("HOME", home);
    if (!configHome.isEmpty())
        qputenv("XDG_CONFIG_HOME", configHome);
    fs::remove_all(root);
}

} // namespace
