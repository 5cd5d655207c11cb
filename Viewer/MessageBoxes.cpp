#include "Viewer/MessageBoxes.h"

#include "core/Failure.h"
#include "core/Messages.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

namespace messagebox {

namespace {

Recorder& recorder()
{
    static Recorder instance;
    return instance;
}

// Centred on the screen, text wrapped at about half the screen's width;
// Enter and Esc close it like the button.
int run(QMessageBox::Icon icon, const QString& caption, const QString& text,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            label->setWordWrap(true);
            label->setMaximumWidth(screen->geometry().width() / 2);
        }
        box.adjustSize();
        box.move(screen->geometry().center() - box.rect().center());
    }
    return box.exec();
}

bool show(Kind kind, const QString& text)
{
    if (recorder())
        return recorder()(kind, text);
    const QString title = QString::fromUtf8(messages::kApplicationTitle);
    switch (kind) {
    case Kind::Warning:
        run(QMessageBox::Warning, QString::fromUtf8(messages::kWarningCaption), text,
            QMessageBox::Ok, QMessageBox::Ok);
        return true;
    case Kind::Information:
        run(QMessageBox::NoIcon, title, text, QMessageBox::Ok, QMessageBox::Ok);
        return true;
    case Kind::GeneralError:
        run(QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
        return true;
    case Kind::Question:
        return run(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::No) == QMessageBox::Yes;
    }
    return false;
}

} // namespace

void setRecorder(Recorder r)
{
    recorder() = std::move(r);
}

void warning(const std::string& textUtf8)
{
    show(Kind::Warning, QString::fromStdString(textUtf8));
}

void information(const std::string& textUtf8)
{
    show(Kind::Information, QString::fromStdString(textUtf8));
}

void generalError(const std::string& failureTextUtf8)
{
    show(Kind::GeneralError, QString::fromStdString(generalErrorText(failureTextUtf8)));
}

bool question(const std::string& textUtf8)
{
    return show(Kind::Question, QString::fromStdString(textUtf8));
}

} // namespace messagebox
