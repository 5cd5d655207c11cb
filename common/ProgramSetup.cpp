#include "common/ProgramSetup.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace common {

void setUpProgram(QCoreApplication& application, const QString& name, const QString& entry)
{
    QCoreApplication::setApplicationName(name);
    QGuiApplication::setDesktopFileName(applicationId() + entry);
    keepNoSettings();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_de"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

QString applicationId()
{
    return QStringLiteral(BB_APP_ID);
}

const char* programVersion()
{
    return BB_VERSION;
}

void keepNoSettings()
{
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

} // namespace common
