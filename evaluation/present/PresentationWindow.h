#pragma once

#include "evaluation/present/Preload.h"
#include "evaluation/present/Steps.h"

#include <QWidget>

#include <memory>
#include <string>

class QScreen;

namespace evaluation {

// The results evening on the projector: full screen, black, each picture
// as large as the screen allows above a band that stays empty until the
// step that tells its place. Keys as presenters' remotes send them. What
// the screen shows is the window's accessible name, the step its
// description, both updated on every step.
class PresentationWindow : public QWidget {
    Q_OBJECT
  public:
    // folder: bytes; presentation: from present::readPresentation, with steps.
    PresentationWindow(const std::string& folder, const present::Presentation& presentation,
                       QWidget* parent = nullptr);

    // The projector: a screen that is not the primary one when there are
    // several, else the one there is.
    static QScreen* projectorScreen();
    // Frameless on the whole projector screen, also without a window manager.
    void showOnProjector();

    int step() const { return step_; }
    int stepCount() const { return static_cast<int>(show_.steps.size()); }
    bool isBlack() const { return black_; }
    // What the screen shows, fitted: for tests and the bench.
    QRect pictureRect() const;
    QRect bandRect() const;
    int bandTextPixels() const;
    present::ShowPictures& pictures() { return pictures_; }

    // A step forward or back, the first or the last; from a black screen
    // any of them only brings the picture back.
    void goForward();
    void goBack();
    void goFirst();
    void goLast();
    // The screen black, or the picture back.
    void toggleBlack();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void goTo(int step);
    bool leaveBlack();
    void describe();
    QSize stretchSize(const pictures::Picture& picture) const;
    QFont bandFont(bool first) const;

    present::Show show_;
    present::ShowPictures pictures_;
    int step_ = -1;
    bool black_ = false;
};

// Reads the folder and opens its presentation on the projector, closed by
// Esc and deleted then; nullptr and the German problem when there is nothing
// to show.
PresentationWindow* openPresentation(const std::string& folder, bool round, int places,
                                     std::string& problem, QWidget* parent = nullptr);

} // namespace evaluation
