#pragma once

#include <QString>

class QCoreApplication;

namespace common {

// What every one of the three programs does first: its name and the
// application id (for task bars and the desktop entry), the German locale
// and Qt's German texts whatever the system's language, and no settings of
// Qt's in the user's home folder. entry: what follows the application id in
// the name of the program's own desktop entry (".Auswertung"), if any.
void setUpProgram(QCoreApplication& application, const QString& name,
                  const QString& entry = QString());

// The application id the build was configured with (reverse DNS).
QString applicationId();

// The version the build was configured with.
const char* programVersion();

// What Qt's own dialogs would remember (history, last folder) goes to a
// place that cannot be written.
void keepNoSettings();

} // namespace common
