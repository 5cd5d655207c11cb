#include "evaluation/window/WindowWatcher.h"

#include "evaluation/Tunables.h"
#include "evaluation/ranking/Folder.h"

#include <QFile>
#include <QSet>

namespace evaluation {

FolderWatcher::FolderWatcher(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(tunables::kSettle);
    connect(&settle_, &QTimer::timeout, this, &FolderWatcher::settled);
    // The directory tells of files added, removed and renamed over; the
    // files themselves of changes written in place.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_,
            qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
}

void FolderWatcher::watch(const QString& folder)
{
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    folder_ = folder;
    watcher_.addPath(folder);
    seen_ = rankingInputs(QFile::encodeName(folder_).toStdString());
    watchFiles();
}

void FolderWatcher::settled()
{
    std::vector<InputFile> now = rankingInputs(QFile::encodeName(folder_).toStdString());
    if (now == seen_)
        return;
    seen_ = std::move(now);
    watchFiles();
    emit inputsChanged();
}

// Brings the file watches up to the inputs: a file renamed over one that
// was watched lost its watch with the old file, a new file has none yet.
void FolderWatcher::watchFiles()
{
    const QStringList watched = watcher_.files();
    const QSet<QString> before(watched.begin(), watched.end());
    QSet<QString> wanted;
    const std::string folder = QFile::encodeName(folder_).toStdString();
    for (const InputFile& input : seen_)
        wanted.insert(QFile::decodeName(pathIn(folder, input.name).c_str()));
    const QSet<QString> gone = before - wanted, added = wanted - before;
    if (!gone.isEmpty())
        watcher_.removePaths(gone.values());
    if (!added.isEmpty())
        watcher_.addPaths(added.values());
}

} // namespace evaluation
