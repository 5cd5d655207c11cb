#include "starter/Dialogs.h"

#include "starter/Texts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>

namespace starter {

GuiSession::GuiSession() = default;
GuiSession::~GuiSession() = default;

void GuiSession::ensure()
{
    if (application_ || QApplication::instance() != nullptr)
        return;
    // Only the program name: the folder argument is ours, not Qt's.
    application_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setApplicationName(QString::fromLatin1(startertexts::kProgram));
    QApplication::setDesktopFileName(QStringLiteral("de.jurybild.Bildbewertung"));
    // Qt's dialog speaks German whatever the system's locale, like the program.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(application_.get());
    if (translator->load(QStringLiteral("qtbase_de"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

void GuiSession::end()
{
    application_.reset();
}

void showWarning(const std::string& textUtf8)
{
    QMessageBox::warning(nullptr, QString::fromUtf8(startertexts::kWarningCaption),
                         QString::fromStdString(textUtf8));
}

std::optional<std::string> chooseFolderWithDialog(const QString& startFolder)
{
    // Qt's dialog saves its history in QtProject.conf when it closes; point
    // the user's settings at a folder that is gone when we are.
    QTemporaryDir scratch;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       scratch.isValid() ? scratch.path() : QStringLiteral("/dev/null"));
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, QString::fromUtf8(startertexts::kChooserCaption), startFolder,
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return std::nullopt;
    return QFile::encodeName(chosen).toStdString();
}

QString picturesOrHome()
{
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}

} // namespace starter
