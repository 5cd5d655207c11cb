#include "evaluation/Run.h"
#include "evaluation/Texts.h"

#include <QGuiApplication>

#include <iostream>

// bildbewertung-auswertung [FOLDER]: the club's ranking from every judge's
// rating file in the folder.
int main(int argc, char* argv[])
{
    using namespace evaluation;
    std::string folder = ".";
    bool folderGiven = false, optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--help") {
                std::cout << texts::kHelp;
                return kDone;
            }
            if (arg == "--version") {
                std::cout << texts::kProgram << " " << BB_VERSION << "\n";
                return kDone;
            }
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            std::cerr << texts::unknownOption(arg) << texts::kUsage;
            return kUsage;
        }
        if (folderGiven) {
            std::cerr << texts::kOneFolderOnly << texts::kUsage;
            return kUsage;
        }
        folder = arg;
        folderGiven = true;
    }

    // The program draws only into a PDF: it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own notes (a missing runtime folder and the like) are no concern
    // of a club evaluating its folder.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << text.toStdString() << "\n";
    });
    QGuiApplication application(argc, argv);
    return evaluate(folder, std::cout, std::cerr);
}
