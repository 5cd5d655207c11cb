#pragma once

#include "evaluation/Tunables.h"
#include "evaluation/window/WindowFiles.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <chrono>

namespace evaluation {

// When the watcher compares the folder; tests shorten or switch them off.
struct WatchTimes {
    std::chrono::milliseconds settle = tunables::kSettle;         // quiet after the last event
    std::chrono::milliseconds burstBound = tunables::kBurstBound; // after a burst's first event
    std::chrono::milliseconds look = tunables::kLook;             // 0: no look
    bool fileEvents = true; // false: only the look sees changes, as on a share
};

// Says when the ranking's inputs changed: a rating file saved (a judge's
// save renames a new file over the old one), added or removed, Qel.max or
// a picture changed. Bursts of events are taken together, within a bound;
// writing the outputs into the folder is no change. Besides the file
// events it looks at the folder itself, so a save on a share, where no
// event comes, and a folder made again at its path are followed too.
class FolderWatcher : public QObject {
    Q_OBJECT
  public:
    explicit FolderWatcher(WatchTimes times = {}, QObject* parent = nullptr);

    // Watches this folder; its present state counts as seen.
    void watch(const std::string& folder); // bytes

  signals:
    void inputsChanged();
    // The folder went (false) or is there again at its path (true).
    void presenceChanged(bool present);

  private:
    void changed();
    void look();
    void settled();
    void watchFolder();
    void watchFiles();

    WatchTimes times_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QTimer burst_;
    QTimer look_;
    std::string folder_;
    bool present_ = true;
    std::vector<InputFile> seen_;
};

} // namespace evaluation
