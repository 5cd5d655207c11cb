#pragma once

#include <QEvent>
#include <QObject>
#include <QPoint>

class PictureFrame;
class QMouseEvent;
class QWidget;

// Delivers the mouse as the window's handlers expect it: presses on the
// window background, the frame or `Bild` become FormMouseDown; moves and
// releases reach `Bild`'s handlers by these rules:
// - a left press on `Bild` captures the mouse: until that button is
//   released, every move, press and release goes to `Bild`, wherever it is;
// - otherwise an event goes to the control under the pointer, so after a
//   right or middle press on `Bild`, or any press on the background or the
//   frame, `Bild` only hears of moves and releases over itself;
// - with no button held, moves over `Bild` reach it as well.
// Presses on other controls (the rating panel) are not reported.
class MouseRouter : public QObject {
    Q_OBJECT
  public:
    // Installs itself on the window, the frame and the frame's `Bild`; the
    // frame must be a descendant of the window.
    MouseRouter(QWidget* window, PictureFrame* frame, QObject* parent = nullptr);

  signals:
    // FormMouseDown: pos is relative to the control pressed. A double
    // click's second press comes as a press of its own.
    void pressed(Qt::MouseButton button, QPoint pos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* targetAt(QPoint inWindow) const;
    void route(QEvent::Type type, const QMouseEvent& event, QPoint inWindow);

    QWidget* window_;
    PictureFrame* frame_;
    QWidget* bild_;
    bool captured_ = false; // `Bild` holds the capture of a left press
};
