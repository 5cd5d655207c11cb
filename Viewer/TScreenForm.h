#pragma once

#include <QEvent>

#include "Viewer/MouseRouter.h"
#include "Viewer/PictureFrame.h"
#include "Viewer/QelPanel.h"

#include <QWidget>

#include <functional>

// The one window: borderless, filling the screen, the picture frame on the
// left and the rating panel at the top right. It only shows things and
// passes the judge's actions on; the handlers decide.
class TScreenForm : public QWidget {
    Q_OBJECT
  public:
    explicit TScreenForm(QWidget* parent = nullptr);

    QelPanel* QelPanel_() const { return panel_; }
    PictureFrame* Rahmen() const { return frame_; }
    MouseRouter* mouse() const { return router_; }

    // Window and frame take this grey (red = green = blue = level).
    void setBackgroundGray(int level);
    QColor backgroundColour() const;

    // Asked before the window closes; false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

    // Borderless on the whole screen, also without a window manager.
    void showOnWholeScreen();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    PictureFrame* frame_;
    QelPanel* panel_;
    MouseRouter* router_;
    std::function<bool()> closeGuard_;
};
