#pragma once

#include "Viewer/Fit.h"
#include "core/Criteria.h"
#include "core/RatingSheet.h"
#include "core/ViewerState.h"
#include "pictures/PictureCache.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class TScreenForm;
class QelPanel;
class PictureFrame;

// The handlers of the window: start-up, scores, navigation, the picture
// cache's timers, rating files and the small commands. The window shows;
// this decides. Each handler lives in the file of its kind (Startup, Scores,
// Navigation, PictureTimers, RatingFiles, Commands).
class Controller : public QObject {
    Q_OBJECT
  public:
    // The interval of both one-shot timers.
    static constexpr int kTimerIntervalMs = 100;
    // Decoding goes on between events in slices of about this much work.
    static constexpr std::chrono::microseconds kSliceBudget{4000};

    Controller(TScreenForm& form, ViewerState& state);

    // Start-up, run once before the window is shown.
    void FormCreate();

    // Scores.
    void SummenClick();

    // Navigation.
    void vor();
    void zurueck();
    void FormMouseDown(Qt::MouseButton button, QPoint position);

    // The picture cache's timers.
    void FirstPictureTimerTimer();
    void LoadTimerTimer();

    // Rating files.
    void bsaveClick();
    void bloadClick();

    // Small commands.
    void HintergrundClick(int position);
    void zoombuttonClick();
    void MinButtonClick();
    void CloseBtnClick();
    void SpeedButton2Click();
    void ButtonvandaroClick();

    // True when the sheet differs from what was last saved or loaded.
    bool hasUnsavedChanges() const { return QelList != savedSheet_; }
    // Asked before the window closes.
    bool mayClose();

    // The file-open dialog Qelopen: the chosen path, or nothing when
    // cancelled. Tests replace it.
    using FileChooser = std::function<std::optional<std::string>()>;
    void setQelopen(FileChooser chooser) { Qelopen = std::move(chooser); }

    // What the handlers hold, for tests and benchmarks to look at.
    const rating::Sheet& sheet() const { return QelList; }
    const pictures::PictureCache& cache() const { return cache_; }
    const QTimer& firstPictureTimer() const { return FirstPictureTimer; }
    const QTimer& loadTimer() const { return LoadTimer; }
    // True while decode slices are pending.
    bool slicing() const { return sliceTimer_.isActive(); }
    // Runs the pending decode slices to their end at once.
    void finishSlices()
    {
        while (sliceTimer_.isActive())
            prepareSlice();
    }

  private:
    void connectControls();
    void LoadWeighting();
    void autoload();
    void QelListReset();
    void showFileName();
    void showSums(const rating::ScoreTexts& texts);
    void enableArrowButtons();
    void startOnce(QTimer& timer);

    fitting::FitResult frameFor(const pictures::Picture& picture) const;
    pictures::Picture loadPicture(int index);
    pictures::PictureCache::FailureHandler warnStopping(QTimer& timer);
    bool readyStep(const pictures::Picture& picture, std::chrono::microseconds budget) const;
    void prepareSlice();
    void scheduleSlices();
    void startHeadStart();
    void showCachedPicture(const pictures::PictureCache::FailureHandler& failed);

    ViewerState& state;
    TScreenForm& form_;
    QelPanel& panel_;
    PictureFrame& Rahmen_;
    ScoreBoard board;
    rating::Sheet QelList;
    rating::Sheet savedSheet_;
    // The file this sheet was loaded from or saved to (a fileIdentity): saving
    // there again asks nothing.
    std::string sheetFile_;
    std::vector<std::string> Playlist;
    pictures::PictureCache cache_;
    QTimer FirstPictureTimer;
    QTimer LoadTimer;
    QTimer sliceTimer_; // zero interval: the next event-loop turn
    // The first picture, read before the first tick so its decode can start.
    static constexpr int kNoHeadStart = -1;
    static constexpr int kHeadStartFailed = -2;
    struct HeadStart {
        pictures::Picture picture;
        int index = kNoHeadStart;
    } headStart_;
    FileChooser Qelopen;
    std::string lastChosenFile_;
};

// The dialog Qelopen as the judge meets it: one "*.qel" filter, starting in
// the working folder with the last choice in its name box, no check that a
// typed file exists. The working folder stays the current directory.
std::optional<std::string> runQelopen(QWidget* parent, std::string& lastChoice);
