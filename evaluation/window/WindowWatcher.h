#pragma once

#include "evaluation/window/WindowFiles.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace evaluation {

// Says when the ranking's inputs changed: a rating file saved (a judge's
// save renames a new file over the old one), added or removed, Qel.max or
// a picture changed. Bursts of events are taken together; writing the
// outputs into the folder is no change.
class FolderWatcher : public QObject {
    Q_OBJECT
  public:
    explicit FolderWatcher(QObject* parent = nullptr);

    // Watches this folder; its present state counts as seen.
    void watch(const QString& folder);

  signals:
    void inputsChanged();

  private:
    void settled();
    void watchFiles();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString folder_;
    std::vector<InputFile> seen_;
};

} // namespace evaluation
