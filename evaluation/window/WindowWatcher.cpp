#include "evaluation/window/WindowWatcher.h"

#include "core/Platform.h"
#include "evaluation/ranking/Folder.h"

#include <QFile>
#include <QSet>

namespace evaluation {

namespace {

// Qt's watcher takes a decoded path: a name the system's encoding cannot
// hold is not watched, and the regular look finds its changes.
QString decoded(const std::string& path)
{
    return QFile::decodeName(path.c_str());
}

} // namespace

FolderWatcher::FolderWatcher(WatchTimes times, QObject* parent) : QObject(parent), times_(times)
{
    settle_.setSingleShot(true);
    settle_.setInterval(times_.settle);
    burst_.setSingleShot(true);
    burst_.setInterval(times_.burstBound);
    look_.setInterval(times_.look);
    connect(&settle_, &QTimer::timeout, this, &FolderWatcher::settled);
    connect(&burst_, &QTimer::timeout, this, &FolderWatcher::settled);
    connect(&look_, &QTimer::timeout, this, &FolderWatcher::look);
    // The directory tells of files added, removed and renamed over; the
    // files themselves of changes written in place.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderWatcher::changed);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FolderWatcher::changed);
}

void FolderWatcher::watch(const std::string& folder)
{
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    folder_ = folder;
    present_ = isDirectory(folder_);
    seen_ = rankingInputs(folder_);
    watchFolder();
    watchFiles();
    if (times_.look.count() > 0)
        look_.start();
}

// Waits for the burst to settle, but no longer than its bound.
void FolderWatcher::changed()
{
    if (!burst_.isActive())
        burst_.start();
    settle_.start();
}

// Cheap when nothing changed: names, sizes and times, nothing decoded.
void FolderWatcher::look()
{
    // Where a watch holds the folder open, a removed folder would stay until
    // the watch lets go: the look lets go while it looks.
    const QStringList held =
        platform::watchHoldsFolder() ? watcher_.files() + watcher_.directories() : QStringList();
    if (!held.isEmpty())
        watcher_.removePaths(held);
    const bool present = isDirectory(folder_);
    if (!held.isEmpty() && present)
        watcher_.addPaths(held);
    const bool unwatched = times_.fileEvents && present && watcher_.directories().isEmpty();
    if (present != present_ || unwatched || rankingInputs(folder_) != seen_)
        changed();
}

void FolderWatcher::settled()
{
    settle_.stop();
    burst_.stop();
    const bool present = isDirectory(folder_);
    std::vector<InputFile> now = rankingInputs(folder_);
    const bool moved = present != present_;
    present_ = present;
    watchFolder();
    if (now == seen_ && !moved)
        return;
    seen_ = std::move(now);
    watchFiles();
    if (moved)
        emit presenceChanged(present_);
    emit inputsChanged();
}

// A folder made again at the path is a new one: its watch went with the old.
void FolderWatcher::watchFolder()
{
    if (times_.fileEvents && present_ && watcher_.directories().isEmpty())
        watcher_.addPath(decoded(folder_));
}

// Brings the file watches up to the inputs: a file renamed over one that
// was watched lost its watch with the old file, a new file has none yet.
void FolderWatcher::watchFiles()
{
    if (!times_.fileEvents)
        return;
    const QStringList watched = watcher_.files();
    const QSet<QString> before(watched.begin(), watched.end());
    QSet<QString> wanted;
    for (const InputFile& input : seen_)
        wanted.insert(decoded(pathIn(folder_, input.name)));
    const QSet<QString> gone = before - wanted, added = wanted - before;
    if (!gone.isEmpty())
        watcher_.removePaths(gone.values());
    if (!added.isEmpty())
        watcher_.addPaths(added.values());
}

} // namespace evaluation
