#include "Viewer/TScreenForm.h"
#include "app/Application.h"
#include "app/Controller.h"
#include "app/Guard.h"
#include "core/ViewerState.h"

int main(int argc, char** argv)
{
    Application application(argc, argv);
    ViewerState state;
    TScreenForm ScreenForm(state);
    Controller controller(ScreenForm, state);
    guarded([&] { controller.FormCreate(); });
    ScreenForm.showOnWholeScreen();
    return application.exec();
}
