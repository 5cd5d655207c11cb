#pragma once

#include <QApplication>

// One QApplication for the whole test program. It is never destroyed: a
// static one would die at exit after Qt's own input devices and crash.
inline QApplication& ensureQtApplication()
{
    if (QApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    return *static_cast<QApplication*>(QApplication::instance());
}
