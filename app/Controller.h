#pragma once

#include "Viewer/MessageBoxes.h"
#include "app/PictureShow.h"
#include "app/Qelopen.h"
#include "core/Criteria.h"
#include "core/RatingSheet.h"

#include <QObject>
#include <QPoint>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TScreenForm;
class QelPanel;
class PictureFrame;

// The handlers of the window: start-up, scores, navigation, rating files
// and the small commands. The window shows; this decides; the picture show
// puts the pictures on screen. Each handler lives in the file of its kind
// (Startup, Scores, Navigation, RatingFiles, Commands).
class Controller : public QObject {
    Q_OBJECT
  public:
    // The file-open dialog Qelopen: the chosen path, or nothing when
    // cancelled.
    using FileChooser = std::function<std::optional<std::string>()>;

    // Without a chooser, Qelopen is the file-open dialog.
    Controller(TScreenForm& form, messagebox::Boxes& boxes, FileChooser chooser = {});

    // Start-up, run once before the window is shown.
    void FormCreate();

    // Scores.
    void SummenClick();

    // Navigation.
    void vor();
    void zurueck();
    void FormMouseDown(Qt::MouseButton button, QPoint position);

    // Rating files.
    void bsaveClick();
    void bloadClick();

    // Small commands.
    void HintergrundClick(int position);
    void zoombuttonClick();
    void MinButtonClick();
    void CloseBtnClick();
    void SpeedButton2Click();  // the information button: opens InfoQuintavo.pdf
    void ButtonvandaroClick(); // opens the web page in the browser

    // True when the sheet differs from what was last saved or loaded.
    bool hasUnsavedChanges() const { return QelList != savedSheet_; }
    // Asked before the window closes.
    bool mayClose();

    // What the handlers hold, for tests and benchmarks to look at and tick.
    const rating::Sheet& sheet() const { return QelList; }
    PictureShow& pictureShow() { return show_; }

  private:
    void connectControls();
    void LoadWeighting();
    void QelListReset();
    void showFileName();
    void updateArrows();
    void move(int step);
    void computeMaxima();

    TScreenForm& form_;
    messagebox::Boxes& boxes_;
    QelPanel& panel_;
    PictureFrame& Rahmen_;
    PictureShow show_;
    // The show's picture list, under its defined name.
    const std::vector<std::string>& Playlist;
    ScoreBoard board;
    // The weighting's group maxima, read by the sums.
    std::int32_t MaxPointsW = 0;
    std::int32_t MaxPointsT = 0;
    std::int32_t MaxPointsB = 0;
    std::int32_t MaxPointsTotal = 0;
    rating::Sheet QelList;
    rating::Sheet savedSheet_;
    // The file this sheet was loaded from or saved to (a fileIdentity): saving
    // there again asks nothing.
    std::string sheetFile_;
    // The judge name of the last loaded file, as bytes: a name from another PC
    // (Windows-1252) is saved under the name it came with, not a second one.
    std::string loadedJudge_;
    FileChooser Qelopen;
    std::string lastChosenFile_;
};
