#pragma once

#include "evaluation/prepare/Competition.h"
#include "evaluation/prepare/EntriesModel.h"

#include <QMessageBox>
#include <QWidget>

#include <atomic>
#include <functional>
#include <thread>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace evaluation {

class CriteriaPanel;

// Where a new competition's Qel.max and guide come from.
struct CompetitionTemplate {
    std::string weighting; // Qel.max
    std::string guide;     // InfoQuintavo.pdf
};
// The installed template, else the one in the sources.
CompetitionTemplate installedTemplate();

// A preparation window of its own, gone when closed (from the ranking window).
void openPrepareWindow();

// "Wettbewerb vorbereiten": the members' pictures, the criteria and the
// target on one page; writes the competition folder and the entrant list
// beside it, all or nothing, copying in the background.
class PrepareWindow : public QWidget {
    Q_OBJECT
  public:
    // A message: true for "Ja" / "OK". Tests record instead of a box.
    using Ask = std::function<bool(QMessageBox::Icon icon, const QString& text, bool question)>;

    PrepareWindow(const QString& entriesFolder, CompetitionTemplate from,
                  QWidget* parent = nullptr);
    ~PrepareWindow() override;

    void setAsk(Ask ask) { ask_ = std::move(ask); }
    // The random source of the anonymous order (tests fix it).
    void setSeed(unsigned seed) { random_.seed(seed); }

  signals:
    // A writing ended: for tests.
    void writingFinished(bool written);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* buildEntries();
    QWidget* buildCriteria();
    QWidget* buildTarget();
    void chooseEntries();
    void choosePlace();
    void readEntries(const QString& folder);
    void loadCriteria(const QString& folder);
    void updateCounts();
    void updateTarget();
    void create();
    bool checkedCompetition(Competition& competition);
    void showProgress(quint64 done, quint64 total);
    void finishWriting(const newfolder::Result& result, const Competition& competition);
    void stopThumbnails();

    CompetitionTemplate template_;
    Ask ask_;
    std::mt19937 random_{std::random_device{}()};
    QString entriesFolder_;
    EntriesModel entries_;

    QLabel* entriesFolderLabel_ = nullptr;
    QLabel* counts_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* criteriaSource_ = nullptr;
    CriteriaPanel* criteria_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* place_ = nullptr;
    QCheckBox* anonymous_ = nullptr;
    QLabel* targetNote_ = nullptr;
    QPushButton* create_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;

    std::thread thumbnails_;
    std::atomic<bool> stopThumbnails_{false};
    std::thread writer_;
    std::atomic<bool> cancelWriting_{false};
};

} // namespace evaluation
