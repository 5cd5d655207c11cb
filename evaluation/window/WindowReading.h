#pragma once

#include "evaluation/window/WindowFiles.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace evaluation {

// The ranking as the window shows it, every cell as text.
struct RankingTexts {
    QString stop;                      // why nothing can be ranked; then the rest is empty
    QString provisional;               // the note while something is missing; empty when final
    QStringList headers;               // Platz, Bild, Titel, the judges, Mittelwert, ...
    std::vector<QStringList> rows;     // per row a cell per header
    std::vector<std::string> pictures; // per row the picture's file name (bytes)
    QStringList judgeHeaders;          // Bewerter, Bilder, Durchschnitt, Abweichung
    std::vector<QStringList> judges;   // per judge a cell per judge header
    QStringList problems;              // every problem, in the order met
};

// How a reading ended.
struct ReadingEnd {
    bool cancelled = false;
    std::shared_ptr<const RankingTexts> ranking; // with every problem; none when cancelled
    QStringList written;                         // paths of the files written
    QStringList failures;                        // one text per file that could not be written
    std::vector<std::string> pictures;           // the folder's pictures (bytes)
};

// Reads a folder off the GUI thread: first the scores (the table can
// show at once), then the thumbnails the cache lacks, then writes the
// outputs. Results arrive as signals on the GUI thread.
class FolderReading : public QObject {
    Q_OBJECT
  public:
    explicit FolderReading(QObject* parent = nullptr);
    ~FolderReading() override;

    // Starts a reading; one under way is cancelled and this one follows it.
    void start(const QString& folder);
    // Stops the reading under way before it writes anything.
    void cancel();
    bool isRunning() const { return worker_.joinable(); }

  signals:
    void scoresRead(std::shared_ptr<const RankingTexts> ranking);
    void progress(int done, int total);
    // The table's thumbnails by picture file name (bytes): the new ones
    // after they were decoded, all of them again when cancelled.
    void thumbnailsRead(std::shared_ptr<const std::map<std::string, QImage>> thumbnails);
    void finished(const evaluation::ReadingEnd& end);

  private:
    struct Job;
    void launch(const QString& folder);
    void ended(const ReadingEnd& end);

    ThumbnailStore store_;
    TableThumbnails small_;
    std::thread worker_;
    std::shared_ptr<Job> job_;
    QString next_; // the folder to read once the current reading ended
};

} // namespace evaluation
