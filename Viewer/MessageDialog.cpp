#include "Viewer/MessageDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kIconSize = 32;

} // namespace

BreakingLabel::BreakingLabel(const QString& text, int maxWidth, QWidget* parent)
    : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    QTextLayout natural;
    const int oneLine = layOut(natural, QWIDGETSIZE_MAX).width();
    QTextLayout wrapped;
    setFixedSize(layOut(wrapped, std::min(oneLine, maxWidth)));
}

// Lays the text out in lines of at most `width` pixels; the size it takes.
QSize BreakingLabel::layOut(QTextLayout& layout, int width) const
{
    QString shown = text();
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    layout.setText(shown);
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    qreal widest = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return {static_cast<int>(std::ceil(widest)), static_cast<int>(std::ceil(height))};
}

void BreakingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    QTextLayout layout;
    layOut(layout, width());
    layout.draw(&painter, QPointF(0, 0));
}

MessageDialog::MessageDialog(std::optional<QStyle::StandardPixmap> icon, const QString& caption,
                             const QString& text, QDialogButtonBox::StandardButtons buttons,
                             QDialogButtonBox::StandardButton defaultButton, QWidget* parent)
    : QDialog(parent), escape_(defaultButton), result_(defaultButton)
{
    setWindowTitle(caption);
    setModal(true);
    auto* row = new QHBoxLayout;
    if (icon) {
        auto* picture = new QLabel(this);
        picture->setPixmap(style()->standardIcon(*icon, nullptr, this).pixmap(kIconSize));
        picture->setAlignment(Qt::AlignTop);
        row->addWidget(picture, 0, Qt::AlignTop);
    }
    const QScreen* screen = targetScreen();
    const int halfScreen = screen ? screen->geometry().width() / 2 : 500;
    row->addWidget(new BreakingLabel(text, halfScreen, this), 1, Qt::AlignVCenter);

    auto* box = new QDialogButtonBox(buttons, this);
    for (QAbstractButton* button : box->buttons()) {
        const auto which = box->standardButton(button);
        escape_ = which; // the last one: "OK" alone, or "Nein" after "Ja"
        auto* push = qobject_cast<QPushButton*>(button);
        if (push && which == defaultButton) {
            push->setDefault(true);
            push->setFocus();
        }
    }
    connect(box, &QDialogButtonBox::clicked, this, [this, box](QAbstractButton* button) {
        result_ = box->standardButton(button);
        accept();
    });

    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(box);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

QDialogButtonBox::StandardButton MessageDialog::run()
{
    result_ = escape_;
    exec();
    return result_;
}

QScreen* MessageDialog::targetScreen() const
{
    if (const QWidget* window = QApplication::activeWindow())
        return window->screen();
    return QGuiApplication::primaryScreen();
}

void MessageDialog::centre()
{
    if (const QScreen* screen = targetScreen()) {
        const QRect frame = frameGeometry();
        const QRect area = screen->geometry();
        // For a window, move() places its frame.
        move(area.x() + (area.width() - frame.width()) / 2,
             area.y() + (area.height() - frame.height()) / 2);
    }
}

void MessageDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centre();
    // A window manager adds its frame only once the box is mapped.
    QTimer::singleShot(0, this, &MessageDialog::centre);
}
