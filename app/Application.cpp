#include "app/Application.h"

#include "common/ProgramSetup.h"
#include "core/Messages.h"

Application::Application(int& argc, char** argv, messagebox::Boxes& boxes)
    : QApplication(argc, argv), boxes_(boxes)
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
        boxes_.generalError(failure.what());
    }
    return false;
}
