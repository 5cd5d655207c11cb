#include "common/CommandLine.h"
#include "common/FileName.h"
#include "common/FolderChooser.h"
#include "core/Platform.h"
#include "starter/Dialogs.h"
#include "starter/Example.h"
#include "starter/Launch.h"
#include "starter/Starter.h"
#include "starter/Texts.h"

#include <QDir>
#include <QStandardPaths>

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
    if (!commandLine.has(startertexts::kExampleFlag))
        return starter::start(commandLine.folder, environment);
    // Installed beside the programs; from a build, the one in the sources.
    std::string demo = ownFolder + BB_DEMO_FROM_BINDIR;
    if (!platform::status(demo + "/Qel.max"))
        demo = BB_SOURCE_DEMO;
    const auto documents =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .toStdString();
    const starter::ExampleFolder example = starter::exampleFolder(demo, documents);
    if (!example.folder) {
        environment.warn(example.problem);
        return 1;
    }
    return starter::start(example.folder, environment);
}
