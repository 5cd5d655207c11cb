#include "common/CommandLine.h"
#include "common/FolderChooser.h"
#include "common/ProgramSetup.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/outputs/SeasonRun.h"
#include "evaluation/prepare/PrepareRun.h"
#include "evaluation/prepare/PrepareWindow.h"
#include "evaluation/present/PresentTexts.h"
#include "evaluation/present/PresentationWindow.h"
#include "evaluation/ranking/Season.h"
#include "evaluation/ranking/SeasonTexts.h"
#include "evaluation/ranking/Texts.h"
#include "evaluation/window/SeasonWindow.h"
#include "evaluation/window/Window.h"

#include <QApplication>
#include <QFile>

#include <cstdlib>
#include <iostream>

namespace {

common::ProgramUsage usage()
{
    using namespace evaluation;
    return {texts::kProgram,
            common::programVersion(),
            texts::kDescription,
            texts::kExitCodes,
            {{texts::kWindowFlag, texts::kWindowFlagExplanation},
             {texts::kPrepareFlag, texts::kPrepareFlagExplanation},
             {texts::kFinalFlag, texts::kFinalFlagExplanation},
             {texts::kOutputFlag, texts::kOutputFlagExplanation, texts::kOutputFlagValue},
             {texts::kCreateFlag, texts::kCreateFlagExplanation, texts::kCreateFlagValue},
             {texts::kWithNamesFlag, texts::kWithNamesFlagExplanation},
             {presenttexts::kPresentFlag, presenttexts::kPresentFlagExplanation},
             {presenttexts::kRoundFlag, presenttexts::kRoundFlagExplanation},
             {seasontexts::kCertificatesFlag, seasontexts::kCertificatesFlagExplanation},
             {seasontexts::kPlacesFlag, seasontexts::kPlacesFlagExplanation, "N"},
             {seasontexts::kSeasonFlag, seasontexts::kSeasonFlagExplanation},
             {seasontexts::kRuleFlag, seasontexts::kRuleFlagExplanation, "REGEL"}},
            true};
}

enum class WindowKind { Ranking, Prepare, Presentation, Round };

// The projector's show of a folder; what keeps it from starting goes to the
// terminal.
int runPresentation(const std::string& folder, bool round)
{
    std::string problem;
    if (!evaluation::openPresentation(folder, round, 0, problem)) {
        std::cerr << problem << "\n";
        return evaluation::kInputProblem;
    }
    return QApplication::exec();
}

// What the program itself finds wrong in a call the parser took.
std::optional<std::string> wrongFor(const common::CommandLine& commandLine)
{
    using namespace evaluation;
    const bool season = commandLine.has(seasontexts::kSeasonFlag);
    if (commandLine.folders.size() > 1 && !season)
        return std::string(seasontexts::kSeveralFolders);
    if (commandLine.has(presenttexts::kRoundFlag) && !commandLine.has(presenttexts::kPresentFlag))
        return std::string(presenttexts::kRoundWithoutPresentation);
    if (const auto rule = commandLine.value(seasontexts::kRuleFlag);
        rule && !parseSeasonRule(*rule))
        return seasontexts::badRule(*rule);
    if (const auto places = commandLine.value(seasontexts::kPlacesFlag);
        places && !placesWanted(*places))
        return seasontexts::badPlaces(*places);
    const bool target = commandLine.value(texts::kCreateFlag).has_value();
    if (target && !commandLine.has(texts::kPrepareFlag))
        return std::string(texts::kCreateNeedsPrepare);
    if (target && !commandLine.folder)
        return std::string(texts::kCreateNeedsEntries);
    if (!target && commandLine.has(texts::kWithNamesFlag))
        return std::string(texts::kWithNamesNeedsCreate);
    return std::nullopt;
}

// The organiser's window; without a folder the chooser asks for one. Preparing
// a competition starts from the entries' folder, or from none.
int runWindow(char* programName, const std::optional<std::string>& folderGiven, WindowKind kind,
              const std::string& place)
{
    const bool prepare = kind == WindowKind::Prepare;
    // Only the program name: the folder argument is ours, not Qt's.
    int argc = 1;
    char* argv[] = {programName, nullptr};
    QApplication application(argc, argv);
    common::setUpProgram(application, QString::fromLatin1(evaluation::texts::kProgram));
    // Its own menu entry: the task bar finds its icon and name there.
    QGuiApplication::setDesktopFileName(
        common::applicationId() +
        (prepare ? QStringLiteral(".Vorbereiten") : QStringLiteral(".Auswertung")));
    if (prepare) {
        evaluation::PrepareWindow window(folderGiven ? QFile::decodeName(folderGiven->c_str())
                                                     : QString(),
                                         evaluation::installedTemplate());
        window.show();
        return QApplication::exec();
    }
    const std::optional<std::string> folder =
        folderGiven ? folderGiven : common::chooseCompetitionFolder();
    if (!folder)
        return evaluation::kDone;
    if (kind == WindowKind::Presentation || kind == WindowKind::Round)
        return runPresentation(*folder, kind == WindowKind::Round);
    int exitCode = 0;
    {
        evaluation::EvaluationWindow window(*folder); // bytes: only what is shown is decoded
        window.setOutputPlace(place);
        window.show();
        exitCode = QApplication::exec();
    }
    // Closing cancelled the reading under way: it writes nothing more, so
    // the program need not wait for its decoding to end.
    if (evaluation::FolderReading::running() > 0)
        std::_Exit(exitCode);
    return exitCode;
}

// --jahreswertung without a folder: the competitions are picked in a window.
int runSeasonWindow(char* programName)
{
    int argc = 1;
    char* argv[] = {programName, nullptr};
    QApplication application(argc, argv);
    common::setUpProgram(application, QString::fromLatin1(evaluation::texts::kProgram));
    evaluation::SeasonWindow window;
    window.show();
    return QApplication::exec();
}

} // namespace

// bildbewertung-auswertung [--window] [--endgueltig] [--ausgabe ORDNER] [FOLDER]: the club's
// ranking from every judge's rating file in the folder, on the terminal or in a window;
// the evening's presentation, certificates and the season's ranking
// --vorbereiten prepares a competition, in a window or with --anlegen here.
int main(int argc, char** argv)
{
    const common::ProgramUsage programUsage = usage();
    common::CommandLine commandLine = common::parseCommandLine(argc, argv, programUsage);
    if (commandLine.request == common::CommandLine::Request::Run)
        if (const auto wrong = wrongFor(commandLine))
            commandLine = common::wrongCall(programUsage, *wrong);
    if (const auto exitCode =
            common::answerOnTerminal(commandLine, programUsage, std::cout, std::cerr))
        return *exitCode;
    if (commandLine.has(evaluation::seasontexts::kSeasonFlag) && commandLine.folders.empty())
        return runSeasonWindow(argv[0]);
    using evaluation::presenttexts::kPresentFlag, evaluation::presenttexts::kRoundFlag;
    using namespace evaluation;
    if (commandLine.has(kPresentFlag))
        return runWindow(argv[0], commandLine.folder,
                         commandLine.has(kRoundFlag) ? WindowKind::Round : WindowKind::Presentation,
                         std::string());
    const bool prepare = commandLine.has(texts::kPrepareFlag);
    const std::optional<std::string> target = commandLine.value(texts::kCreateFlag);
    if (!target && (prepare || commandLine.has(texts::kWindowFlag)))
        return runWindow(argv[0], commandLine.folder,
                         prepare ? WindowKind::Prepare : WindowKind::Ranking,
                         commandLine.value(evaluation::texts::kOutputFlag).value_or(std::string()));

    // The program draws only into a PDF: it needs no display (on Windows
    // the offscreen platform has no fonts; the windows one opens nothing).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", BB_HEADLESS_PLATFORM);
    // Qt's own notes (a missing runtime folder and the like) are no concern
    // of a club evaluating its folder.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << text.toStdString() << "\n";
    });
    QGuiApplication application(argc, argv);
    common::setUpProgram(application, QString::fromLatin1(texts::kProgram));
    if (target) {
        // The descriptions are measured in the judging panel's font: a QGuiApplication's.
        const CompetitionTemplate from = installedTemplate();
        return prepareOnTerminal({*commandLine.folder, *target,
                                  !commandLine.has(texts::kWithNamesFlag), from.weighting,
                                  from.guide},
                                 std::cout, std::cerr);
    }
    if (commandLine.has(seasontexts::kSeasonFlag))
        return evaluateSeason(
            commandLine.folders,
            *parseSeasonRule(commandLine.value(seasontexts::kRuleFlag).value_or("")),
            commandLine.value(texts::kOutputFlag).value_or("."), std::cout, std::cerr);
    if (commandLine.has(seasontexts::kCertificatesFlag))
        return printCertificates(
            commandLine.folder.value_or("."),
            *placesWanted(commandLine.value(seasontexts::kPlacesFlag).value_or("3")), std::cout,
            std::cerr);
    return evaluate(commandLine.folder.value_or("."), std::cout, std::cerr,
                    {commandLine.has(texts::kFinalFlag),
                     commandLine.value(texts::kOutputFlag).value_or(std::string())});
}
