#include "starter/Dialogs.h"

#include "common/ProgramSetup.h"
#include "starter/Texts.h"

#include <QApplication>
#include <QMessageBox>

namespace starter {

GuiSession::GuiSession() = default;
GuiSession::~GuiSession() = default;

void GuiSession::ensure()
{
    if (application_ || QApplication::instance() != nullptr)
        return;
    // Only the program name: the folder argument is ours, not Qt's.
    application_ = std::make_unique<QApplication>(argc_, argv_);
    common::setUpProgram(*application_, QString::fromLatin1(startertexts::kProgram));
}

void GuiSession::end()
{
    application_.reset();
}

void showWarning(const std::string& textUtf8)
{
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(startertexts::kWarningCaption),
                    QString::fromStdString(textUtf8));
    box.setTextFormat(Qt::PlainText); // a folder's name in it is never markup
    box.exec();
}

} // namespace starter
