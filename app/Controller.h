#pragma once

#include "core/Criteria.h"
#include "core/RatingSheet.h"
#include "core/ViewerState.h"
#include "pictures/Picture.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class TScreenForm;
class QelPanel;
class PictureFrame;

// The handlers of the window: start-up, scores, navigation, the picture
// cache and its timers, rating files and the small commands. The window
// shows; this decides.
class Controller : public QObject {
    Q_OBJECT
  public:
    Controller(TScreenForm& form, ViewerState& state);

    // Start-up, run once before the window is shown.
    void FormCreate();

    // Scores.
    void SummenClick();

    // Navigation.
    void vor();
    void zurueck();
    void FormMouseDown(Qt::MouseButton button, QPoint position);

    // The picture cache.
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

    // The file-open dialog Qelopen; returns the chosen path, or nothing when
    // cancelled. Tests replace it.
    std::function<std::optional<std::string>()> Qelopen;

    ViewerState& state;
    ScoreBoard board;
    rating::Sheet QelList;
    std::vector<std::string> Playlist;
    std::vector<std::string> Maxliste;
    pictures::Picture ForwardTemp;
    pictures::Picture backTemp;
    pictures::Picture Bild;
    QTimer FirstPictureTimer;
    QTimer LoadTimer;

  private:
    void connectControls();
    void LoadWeighting();
    void autoload();
    void QelListReset();
    void showFileName();
    void enableArrowButtons();
    void startOnce(QTimer& timer);

    bool loadInto(pictures::Picture& holder, int& heldIndex, int pictureIndex, QTimer& timer);
    void prepare(const pictures::Picture& picture);
    void show(const pictures::Picture& picture, int index);
    void fit(const pictures::Picture& picture);

    TScreenForm& form_;
    QelPanel& panel_;
    PictureFrame& Rahmen_;
    rating::Sheet savedSheet_;
    // The picture a move pushed out of the cache: freeing a large bitmap
    // costs time the move should not spend, so the next tick frees it.
    pictures::Picture released_;
    int forwardIndex_ = -1;
    int backIndex_ = -1;
    int bildIndex_ = -1;
    std::string lastChosenFile_;
};

// The dialog Qelopen as the judge meets it: one "*.qel" filter, starting in
// the working folder with the last choice in its name box, no check that a
// typed file exists. The working folder stays the current directory.
std::optional<std::string> runQelopen(QWidget* parent, std::string& lastChoice);
