#include "app/Application.h"

#include "Viewer/MessageBoxes.h"
#include "core/Messages.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromUtf8(messages::kApplicationTitle));
    // Window titles stay exactly the captions; task bars find the name
    // through the window class and the desktop entry.
    setDesktopFileName(QStringLiteral("de.jurybild.Bildbewertung"));

    keepNoSettings();

    // Qt's own dialogs and menus speak German whatever the system's locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : {"qtbase_de"}) {
        auto* translator = new QTranslator(this);
        if (translator->load(QString::fromLatin1(catalogue), folder))
            installTranslator(translator);
        else
            delete translator;
    }
}

void keepNoSettings()
{
    // What Qt's own file dialog would remember (history, last folder) goes
    // to a place that cannot be written.
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        messagebox::generalError(failure.what());
    }
    return false;
}
