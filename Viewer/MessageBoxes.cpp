#include "Viewer/MessageBoxes.h"

#include "core/Failure.h"
#include "core/Messages.h"

#include "Viewer/MessageDialog.h"

#include <QApplication>

namespace messagebox {

namespace {

using Button = QDialogButtonBox::StandardButton;

Button run(std::optional<QStyle::StandardPixmap> icon, const QString& caption, const QString& text,
           QDialogButtonBox::StandardButtons buttons, Button defaultButton)
{
    MessageDialog box(icon, caption, text, buttons, defaultButton, QApplication::activeWindow());
    return box.run();
}

} // namespace

bool Boxes::show(Kind kind, const QString& text)
{
    struct Open {
        explicit Open(int& count) : count_(count) { ++count_; }
        ~Open() { --count_; }
        Open(const Open&) = delete;
        Open& operator=(const Open&) = delete;
        int& count_;
    } open(open_);
    if (recorder_)
        return recorder_(kind, text);
    const QString title = QString::fromUtf8(messages::kApplicationTitle);
    switch (kind) {
    case Kind::Warning:
        run(QStyle::SP_MessageBoxWarning, QString::fromUtf8(messages::kWarningCaption), text,
            Button::Ok, Button::Ok);
        return true;
    case Kind::Information:
        run(std::nullopt, title, text, Button::Ok, Button::Ok);
        return true;
    case Kind::GeneralError:
        run(QStyle::SP_MessageBoxCritical, title, text, Button::Ok, Button::Ok);
        return true;
    case Kind::Question:
        return run(QStyle::SP_MessageBoxQuestion, title, text, Button::Yes | Button::No,
                   Button::No) == Button::Yes;
    }
    return false;
}

void Boxes::warning(const std::string& textUtf8)
{
    show(Kind::Warning, QString::fromStdString(textUtf8));
}

void Boxes::information(const std::string& textUtf8)
{
    show(Kind::Information, QString::fromStdString(textUtf8));
}

void Boxes::generalError(const std::string& failureTextUtf8)
{
    show(Kind::GeneralError, QString::fromStdString(generalErrorText(failureTextUtf8)));
}

bool Boxes::question(const std::string& textUtf8)
{
    return show(Kind::Question, QString::fromStdString(textUtf8));
}

} // namespace messagebox
