#include "app/Application.h"

#include "Viewer/MessageBoxes.h"
#include "common/ProgramSetup.h"
#include "core/Messages.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // Window titles stay exactly the captions; task bars find the name
    // through the window class and the desktop entry.
    common::setUpProgram(*this, QString::fromUtf8(messages::kApplicationTitle));
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
