#include "Viewer/MessageDialog.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kIconSize = 32;

// The buttons' own texts, whether or not Qt's German catalogue is installed.
const char* germanText(QDialogButtonBox::StandardButton button)
{
    switch (button) {
    case QDialogButtonBox::Yes:
        return "&Ja";
    case QDialogButtonBox::No:
        return "&Nein";
    default:
        return nullptr;
    }
}

// Assistive technology announces the box as an alert, as it does Qt's own.
QAccessibleInterface* alertFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(MessageDialog::staticMetaObject.className()) &&
        object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

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
    : QDialog(parent), text_(text), escape_(defaultButton), result_(defaultButton)
{
    static const bool alertInstalled = (QAccessible::installFactory(alertFactory), true);
    Q_UNUSED(alertInstalled);
    setWindowTitle(caption);
    setAccessibleDescription(text);
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
    buttons_ = box;
    for (QAbstractButton* button : box->buttons()) {
        const auto which = box->standardButton(button);
        if (const char* german = germanText(which))
            button->setText(QString::fromUtf8(german));
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

QString MessageDialog::copyText() const
{
    const QString rule = QStringLiteral("---------------------------\n");
    QStringList answers;
    for (const QAbstractButton* button : buttons_->buttons())
        answers << button->text().remove(QLatin1Char('&'));
    return rule + windowTitle() + QLatin1Char('\n') + rule + text_ + QLatin1Char('\n') + rule +
           answers.join(QStringLiteral("   ")) + QLatin1Char('\n') + rule;
}

void MessageDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(copyText());
        return;
    }
    if (!(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) {
        for (QAbstractButton* button : buttons_->buttons()) {
            const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
            if (!mnemonic.isEmpty() && mnemonic[0].key() == event->key()) {
                button->animateClick();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

void MessageDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    centre();
    // A window manager adds its frame only once the box is mapped.
    QTimer::singleShot(0, this, &MessageDialog::centre);
}
