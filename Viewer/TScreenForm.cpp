#include "Viewer/TScreenForm.h"

#include "common/CaptionRoom.h"
#include "core/Messages.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

TScreenForm::TScreenForm(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("ScreenForm"));
    // Task bars show the window title: the application title. The old
    // caption stays readable to assistive technology.
    setWindowTitle(QString::fromUtf8(messages::kApplicationTitle));
    setAccessibleDescription(QString::fromUtf8(messages::kWindowCaption));
    setAutoFillBackground(true);

    setFont(common::captionFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80)); // start-up makes it black
    colours.setColor(QPalette::WindowText, QColor(0xc0, 0xc0, 0xc0));
    setPalette(colours);

    // The frame is hidden until the first picture is shown.
    frame_ = new PictureFrame(this);
    frame_->setObjectName(QStringLiteral("Rahmen"));
    frame_->hide();
    panel_ = new QelPanel(this);
    router_ = new MouseRouter(this, frame_, this);
}

void TScreenForm::setBackgroundGray(int level)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(level, level, level));
    setPalette(colours);
}

QColor TScreenForm::backgroundColour() const
{
    return palette().color(QPalette::Window);
}

void TScreenForm::showOnWholeScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    showMaximized();
}

void TScreenForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    panel_->move(width() - QelPanel::kMargin - panel_->width(), QelPanel::kMargin);
}

void TScreenForm::closeEvent(QCloseEvent* event)
{
    if (closeGuard_ && !closeGuard_())
        event->ignore();
    else
        event->accept();
}
