#include "Viewer/TScreenForm.h"
#include "app/Application.h"
#include "app/Controller.h"
#include "app/Guard.h"

int main(int argc, char** argv)
{
    messagebox::Boxes boxes;
    Application application(argc, argv, boxes);
    TScreenForm ScreenForm;
    Controller controller(ScreenForm, boxes);
    guarded(boxes, [&] { controller.FormCreate(); });
    ScreenForm.showOnWholeScreen();
    return application.exec();
}
