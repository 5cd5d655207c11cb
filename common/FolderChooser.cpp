#include "common/FolderChooser.h"

#include "common/ProgramSetup.h"
#include "core/FolderListing.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace common {

namespace {

// Our own file, named in full: Qt's user settings stay switched off.
QString memoryFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/bildbewertung/ordnerwahl.conf");
}

const QString kLastFolderKey = QStringLiteral("lastFolder");

// The name filter "Bilder (...)" of the pictures the judging program lists.
QString pictureFilter()
{
    QStringList patterns;
    for (const std::string_view extension : folderlisting::kPictureExtensions)
        patterns << QStringLiteral("*") +
                        QString::fromLatin1(extension.data(), qsizetype(extension.size()));
    return QStringLiteral("Bilder (%1)").arg(patterns.join(QLatin1Char(' ')));
}

QString picturesOrHome()
{
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}

} // namespace

QString chooserStartFolder()
{
    const QByteArray last =
        QSettings(memoryFile(), QSettings::IniFormat).value(kLastFolderKey).toByteArray();
    if (!last.isEmpty() && QFileInfo(QFile::decodeName(last)).isDir())
        return QFile::decodeName(last);
    return picturesOrHome();
}

std::optional<std::string> chooseCompetitionFolder(QWidget* parent)
{
    keepNoSettings(); // the dialog's own history goes nowhere
    QFileDialog dialog(parent, QString::fromUtf8(kChooserCaption), chooserStartFolder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Directory mode shows files too, greyed: the judge sees the pictures.
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(pictureFilter()); // any letter case
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QByteArray chosen = QFile::encodeName(dialog.selectedFiles().constFirst());
    QSettings memory(memoryFile(), QSettings::IniFormat);
    memory.setValue(kLastFolderKey, chosen);
    return chosen.toStdString();
}

} // namespace common
