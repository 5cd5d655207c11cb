#pragma once

#include "evaluation/outputs/Cancel.h"
#include "evaluation/ranking/Columns.h"
#include "evaluation/ranking/Decisions.h"
#include "evaluation/window/WindowFiles.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

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
    QString finalNote;                 // declared final: the date and its lines; else empty
    std::vector<Column> columns;       // the report's for the window: Platz, Bild, Titel, ...
    QStringList headers;               // per column its heading
    std::vector<QStringList> rows;     // per row a cell per header
    std::vector<std::string> pictures; // per row the picture's file name (bytes)
    std::vector<bool> excluded;        // per row: left out by the organiser
    std::vector<InputPrint> inputs;    // what the ranking was made of, for declaring it final
    QStringList judgeHeaders;          // Bewerter, Bilder, Durchschnitt, Abweichung
    std::vector<QStringList> judges;   // per judge a cell per judge header
    QStringList problems;              // every problem, in the order met
    QStringList authorHeaders;         // Platz, Autor, Bilder, Summe, Bestes Bild
    std::vector<QStringList> authors;  // the authors' ranking; empty without an entrant list
    QString ownPictures;               // "eigene Bilder nicht gewertet: …"; empty when none
};

// How a reading ended.
struct ReadingEnd {
    bool cancelled = false;
    bool superseded = false;                     // cancelled for a newer reading that follows
    std::shared_ptr<const RankingTexts> ranking; // with every problem; none when cancelled
    QStringList written;                         // paths of the files written
    QString place;                               // the folder they were written in, as shown
    QStringList failures;                        // one text per file that could not be written
    std::vector<std::string> held;               // of those, open in another program (bytes)
    std::vector<std::string> pictures;           // the folder's pictures (bytes)
};

// Reads a folder off the GUI thread: first the scores (the table can
// show at once), then the thumbnails the cache lacks, then writes the
// outputs. Results arrive as signals on the GUI thread.
class FolderReading : public QObject {
    Q_OBJECT
  public:
    // `gate`: called before each step of every reading (tests hold one there).
    explicit FolderReading(Cancel::Gate gate = {}, QObject* parent = nullptr);
    // Cancels the reading under way and returns at once: it writes nothing
    // more and ends on its own.
    ~FolderReading() override;

    // Starts a reading. One under way stops decoding and this one follows
    // it; one already past its decoding writes its files first, so a
    // stream of changes never keeps the files from following.
    void start(const std::string& folder);
    // Where the organiser's files go from the next start: "" beside the folder.
    void setPlace(const std::string& place) { place_ = place; }
    // Stops the reading under way before it writes anything (the files stay
    // all old or become all new).
    void cancel();
    bool isRunning() const { return worker_.joinable(); }
    // The pictures of the rows on screen: their thumbnails are made first.
    void setOnScreen(std::vector<std::string> pictures);

    // Readings of any object that have not ended yet (a program ending
    // with one left need not wait for it).
    static int running() { return running_; }

  signals:
    void scoresRead(std::shared_ptr<const RankingTexts> ranking);
    void progress(int done, int total);
    // New table thumbnails by picture file name (bytes), in batches as they
    // are made (at most one batch per tunables::kThumbnailBatch).
    void thumbnailsRead(std::shared_ptr<const std::map<std::string, QImage>> thumbnails);
    void finished(const evaluation::ReadingEnd& end);

  private:
    struct Shared;
    struct Job;
    void launch(const std::string& folder);
    void ended(const ReadingEnd& end);
    // Emits the thumbnails made since the last batch, unless one went out
    // within the batch interval (then its timer does).
    void deliverThumbnails(bool now = false);

    std::shared_ptr<Shared> shared_;
    Cancel::Gate gate_;
    std::thread worker_;
    std::shared_ptr<Job> job_;
    std::string next_; // the folder to read once the current reading ended
    QTimer batches_;
    std::string place_;
    static std::atomic<int> running_;
};

} // namespace evaluation
