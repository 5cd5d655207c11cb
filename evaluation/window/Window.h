#pragma once

#include "evaluation/window/WindowModel.h"
#include "evaluation/window/WindowReading.h"
#include "evaluation/window/WindowWatcher.h"

#include <QTimer>
#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QProgressBar;
class QPushButton;
class QTableView;

namespace evaluation {

class DecisionButtons;

// The organiser's window: the ranking of a competition folder, kept up to
// date while the judges save, and the files written from it.
class EvaluationWindow : public QWidget {
    Q_OBJECT
  public:
    // folder: bytes, as the command line or the chooser gave it.
    // readingGate: called before each step of the readings (tests hold one there).
    explicit EvaluationWindow(const std::string& folder, WatchTimes times = {},
                              Cancel::Gate readingGate = {}, QWidget* parent = nullptr);
    // Where the organiser's files go (--ausgabe); without one: beside the
    // folder, or where the organiser chooses when that cannot be written.
    void setOutputPlace(const std::string& place);

  signals:
    // A reading ended (written, cancelled or stopped): for tests and benches.
    void readingFinished();

  private:
    void buildControls();
    QWidget* buildOutputRow();
    void firstReading();
    void readAgain();
    std::string outputPath(const char* file) const; // "": the place itself
    void showRanking(std::shared_ptr<const RankingTexts> ranking);
    // Their thumbnails are made first.
    void tellRowsOnScreen();
    void showProgress(int done, int total);
    void showEnd(const ReadingEnd& end);
    // kind: what the desktop found no program for, "PDF-Dateien".
    void openOutput(const char* file, const char* kind);
    QWidget* buildCertificatesRow();
    void writeCertificates();

    std::string folderPath_; // bytes, absolute: what is read and watched
    QString folder_;         // as shown
    FolderReading reading_;
    FolderWatcher watcher_;
    RankingModel ranking_;
    JudgesModel judges_;
    std::string place_; // bytes; "": beside the folder
    DecisionButtons* decisions_ = nullptr;
    JudgesModel authors_;

    QLabel* note_ = nullptr;
    QLabel* back_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTableView* table_ = nullptr;
    QListWidget* problems_ = nullptr;
    QGroupBox* authorsBox_ = nullptr;
    QLabel* ownPictures_ = nullptr;
    QLineEdit* club_ = nullptr;
    QSpinBox* places_ = nullptr;
    QLabel* written_ = nullptr;
    QLabel* failures_ = nullptr;
    QPushButton* retry_ = nullptr; // reads and writes again after a failure
    QTimer heldLook_;              // asks whether the outputs held open are free again
    std::vector<std::string> held_;
    std::vector<std::pair<QPushButton*, const char*>> openButtons_;
};

} // namespace evaluation
