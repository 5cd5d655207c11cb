#pragma once

#include <QApplication>

// The PDF needs fonts and the window widgets, so a QApplication; one for
// the whole run, never destroyed (a static one would die after Qt's own
// objects at exit).
inline void ensureGuiApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}
