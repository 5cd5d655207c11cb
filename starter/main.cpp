#include "starter/Dialogs.h"
#include "starter/Launch.h"
#include "starter/Starter.h"

#include <QDir>
#include <QFile>

#include <iostream>

int main(int argc, char** argv)
{
    const starter::Arguments arguments =
        starter::parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    starter::GuiSession gui;
    const std::string ownFolder = starter::starterFolder();
    const std::string program = ownFolder + "bildbewertung";
    const std::string templates =
        QDir::cleanPath(QFile::decodeName((ownFolder + BB_TEMPLATES_FROM_BINDIR).c_str()))
            .toStdString() +
        "/";
    const starter::Environment environment{[&] {
                                               gui.ensure();
                                               return starter::chooseFolderWithDialog(
                                                   starter::picturesOrHome());
                                           },
                                           [&](const std::string& folder) {
                                               gui.end();
                                               return starter::execIn(program, folder);
                                           },
                                           [&](const std::string& text) {
                                               gui.ensure();
                                               starter::showWarning(text);
                                           },
                                           program,
                                           templates,
                                           BB_VERSION,
                                           std::cout,
                                           std::cerr};
    return starter::start(arguments, environment);
}
