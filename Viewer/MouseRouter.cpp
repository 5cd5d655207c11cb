#include "Viewer/MouseRouter.h"

#include "Viewer/PictureFrame.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

MouseRouter::MouseRouter(QWidget* window, PictureFrame* frame, QObject* parent)
    : QObject(parent), window_(window), frame_(frame), bild_(frame->bild())
{
    window_->installEventFilter(this);
    frame_->installEventFilter(this);
    bild_->installEventFilter(this);
}

bool MouseRouter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    const auto& mouse = static_cast<const QMouseEvent&>(*event);
    route(type, mouse, widget->mapTo(window_, mouse.position().toPoint()));
    // Frame and `Bild` do nothing with the mouse themselves; eating the event
    // there keeps Qt from passing it on to the window and routing it twice.
    return widget != window_;
}

QWidget* MouseRouter::targetAt(QPoint inWindow) const
{
    if (captured_) {
        return bild_;
    }
    if (!window_->rect().contains(inWindow)) {
        return nullptr;
    }
    QWidget* under = window_->childAt(inWindow);
    if (under == nullptr) {
        return window_;
    }
    return under == frame_ || under == bild_ ? under : nullptr;
}

void MouseRouter::route(QEvent::Type type, const QMouseEvent& event, QPoint inWindow)
{
    // The capture ends with the left button, also when its release went
    // elsewhere (a message box opened while it was held).
    const bool leftReleased =
        type == QEvent::MouseButtonRelease && event.button() == Qt::LeftButton;
    if (captured_ && !leftReleased && !(event.buttons() & Qt::LeftButton)) {
        captured_ = false;
    }
    QWidget* target = targetAt(inWindow);
    if (target == nullptr) {
        return;
    }
    const QPoint pos = target == window_ ? inWindow : target->mapFrom(window_, inWindow);
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (target == bild_ && event.button() == Qt::LeftButton) {
            captured_ = true;
        }
        emit pressed(event.button(), pos);
        break;
    case QEvent::MouseMove:
        if (target == bild_) {
            frame_->BildMouseMove(pos);
        }
        break;
    case QEvent::MouseButtonRelease:
        if (target == bild_) {
            frame_->BildMouseUp();
        }
        if (event.button() == Qt::LeftButton) {
            captured_ = false;
        }
        break;
    default:
        break;
    }
}
