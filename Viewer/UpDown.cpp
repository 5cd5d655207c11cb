#include "Viewer/UpDown.h"

#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>

UpDown::UpDown(int maximum, QWidget* parent)
    : QWidget(parent), maximum_(maximum), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    setFocusPolicy(Qt::StrongFocus);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setAccessibleName(QStringLiteral("heller"));
    down_->setAccessibleName(QStringLiteral("dunkler"));
    for (QToolButton* button : {up_, down_}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::step(int delta)
{
    const int next = std::clamp(position_ + delta, 0, maximum_);
    if (next == position_)
        return;
    position_ = next;
    emit changed(position_);
}

void UpDown::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up)
        step(+1);
    else if (event->key() == Qt::Key_Down)
        step(-1);
    else
        QWidget::keyPressEvent(event);
}

void UpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}
