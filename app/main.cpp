#include "Viewer/TScreenForm.h"
#include "app/Application.h"
#include "app/Controller.h"
#include "app/Guard.h"

int main(int argc, char** argv)
{
    Application application(argc, argv);
    TScreenForm ScreenForm;
    Controller controller(ScreenForm);
    guarded([&] { controller.FormCreate(); });
    ScreenForm.showOnWholeScreen();
    return application.exec();
}
