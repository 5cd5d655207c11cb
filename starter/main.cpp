#include "common/CommandLine.h"
#include "common/FileName.h"
#include "common/FolderChooser.h"
#include "starter/Dialogs.h"
#include "starter/Launch.h"
#include "starter/Starter.h"

#include <QDir>

#include <iostream>

int main(int argc, char** argv)
{
    const std::string ownFolder = starter::starterFolder();
    const std::string program = ownFolder + "bildbewertung";
    const std::string templates =
        QDir::cleanPath(common::displayFileName(ownFolder + BB_TEMPLATES_FROM_BINDIR))
            .toStdString() +
        "/";
    const common::ProgramUsage usage = starter::usage(templates);
    const common::CommandLine commandLine = common::parseCommandLine(argc, argv, usage);
    if (const auto exitCode = common::answerOnTerminal(commandLine, usage, std::cout, std::cerr))
        return *exitCode;

    starter::GuiSession gui;
    const starter::Environment environment{[&] {
                                               gui.ensure();
                                               return common::chooseCompetitionFolder();
                                           },
                                           [&](const std::string& folder) {
                                               gui.end();
                                               return starter::execIn(program, folder);
                                           },
                                           [&](const std::string& text) {
                                               gui.ensure();
                                               starter::showWarning(text);
                                           },
                                           program};
    return starter::start(commandLine.folder, environment);
}
