#include "evaluation/Run.h"
#include "evaluation/Texts.h"
#include "evaluation/Window.h"
#include "evaluation/WindowTexts.h"

#include <QApplication>
#include <QFileDialog>

#include <iostream>

namespace {

// The folder the organiser picks; empty when the chooser was closed.
QString chooseFolder()
{
    return QFileDialog::getExistingDirectory(
        nullptr, QString::fromUtf8(evaluation::windowtexts::kChooserCaption), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

int runWindow(int argc, char* argv[], const std::string& folderArgument, bool folderGiven)
{
    QApplication application(argc, argv);
    const QString folder = folderGiven ? QFile::decodeName(folderArgument.c_str()) : chooseFolder();
    if (folder.isEmpty())
        return evaluation::kDone;
    evaluation::EvaluationWindow window(folder);
    window.show();
    return application.exec();
}

} // namespace

// bildbewertung-auswertung [--window] [FOLDER]: the club's ranking from
// every judge's rating file in the folder, on the terminal or in a window.
int main(int argc, char* argv[])
{
    using namespace evaluation;
    std::string folder = ".";
    bool folderGiven = false, optionsEnded = false, window = false;
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
            if (arg == "--window") {
                window = true;
                continue;
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
    if (window)
        return runWindow(argc, argv, folder, folderGiven);

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
