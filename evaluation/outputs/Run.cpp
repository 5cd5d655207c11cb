#include "evaluation/outputs/Run.h"

#include "core/Platform.h"
#include "core/TextFile.h"
#include "evaluation/outputs/Csv.h"
#include "evaluation/outputs/HtmlReport.h"
#include "evaluation/outputs/PdfReport.h"
#include "evaluation/outputs/TextTable.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"

#include <QDate>

#include <cstdlib>
#include <future>
#include <iostream>
#include <optional>
#include <utility>

namespace evaluation {

namespace {

// The folder's own name, for the title ("." becomes the real name).
std::string folderName(const std::string& folder)
{
    const auto own = folderOwnName(folder);
    return shownName(own ? *own : platform::resolvedPath(folder).value_or(folder));
}

// The file behind a path (nothing: none); a rename puts a new one there.
std::optional<platform::FileIdentity> fileAt(const std::string& path)
{
    return platform::identity(path);
}

// A name never acts on the terminal: each control character shows as "?".
std::string onTerminal(const std::string& text)
{
    return controlsReplaced(text, "?", true);
}

std::string fileNameOf(const std::string& path)
{
    std::size_t start = path.size();
    while (start > 0 && !platform::isSeparator(path[start - 1]))
        --start;
    return path.substr(start);
}

// "/media/verein/Clubabend Rangliste.csv": the place is the real one, without "..".
std::string shownPath(const std::string& path)
{
    return shownFolderOf(path) + platform::kSeparator + shownName(fileNameOf(path));
}

// Held open by another program (Windows), the file is named for the user to
// close it there; any other failure says it cannot be written.
OutputFile notWritten(const std::string& path)
{
    if (!platform::replaceable(path) && platform::lastFailure() == platform::Failure::inUse)
        return {path, texts::openElsewhere(shownName(fileNameOf(path))), true};
    return {path, texts::cannotWrite(shownPath(path))};
}

} // namespace

std::string today()
{
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
}

std::string shownFolderOf(const std::string& path)
{
    const std::string folder = path.substr(0, path.size() - fileNameOf(path).size());
    return shownName(platform::resolvedPath(folder.empty() ? "." : folder)
                         .value_or(platform::absolutePath(folder)));
}

std::vector<OutputFile> writeOutputs(const std::string& folder, const Report& report,
                                     const std::vector<const Thumbnail*>& thumbnails,
                                     Cancel* cancel, const std::string& place)
{
    const auto csvPath = organiserFileIn(folder, place, texts::kCsvFile);
    if (!csvPath) // a root has no beside: never into the folder instead
        return {{std::string(), texts::noPlaceBeside(folderName(folder))}};
    const auto proceed = [cancel](Step step) { return !cancel || cancel->proceed(step); };
    const Heading heading{folderName(folder), today()};
    if (!proceed(Step::page))
        return {};
    // The page and the PDF side by side; both take the stored JPEGs.
    auto page =
        std::async(std::launch::async, [&] { return rankingHtml(report, thumbnails, heading); });
    const std::string csv = proceed(Step::csv) ? rankingCsv(report) : std::string();
    const QByteArray pdf =
        proceed(Step::pdf) ? rankingPdf(report, thumbnails, heading) : QByteArray();
    const std::string html = page.get();
    if (cancel && cancel->cancelled())
        return {};
    const std::vector<textfile::FileContents> files{
        {*csvPath, csv},
        {*organiserFileIn(folder, place, texts::kPdfFile),
         {pdf.constData(), std::size_t(pdf.size())}},
        {*organiserFileIn(folder, place, texts::kHtmlFile), html}};
    std::vector<std::optional<platform::FileIdentity>> before;
    before.reserve(files.size());
    for (const textfile::FileContents& file : files)
        before.push_back(fileAt(file.path));
    std::vector<OutputFile> outputs;
    textfile::RenameGate gate;
    if (cancel)
        gate = [cancel](const std::function<void()>& renames) {
            cancel->runUnlessCancelled(Step::rename, renames);
        };
    const auto failed = textfile::writeAllAtomically(files, gate);
    if (failed == files.size())
        return {}; // cancelled before the renames
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string shown = shownPath(files[i].path);
        // A file renamed into place before a later one failed is new.
        const bool replaced = fileAt(files[i].path) != before[i];
        if (failed && *failed == i)
            outputs.push_back(notWritten(files[i].path));
        else
            outputs.push_back(
                {files[i].path, !failed || replaced ? std::string() : texts::keptAsItWas(shown)});
    }
    return outputs;
}

int evaluate(const std::string& folder, std::ostream& out, std::ostream& err,
             const RunOptions& options)
{
    FolderResult result = evaluateFolder(folder, options.place);
    Evaluation& evaluation = result.evaluation;
    if (!result.stop.empty()) {
        for (const std::string& problem : listedProblems(evaluation.problems))
            err << onTerminal(problem) << "\n";
        err << onTerminal(result.stop) << "\n";
        return kInputProblem;
    }
    // Never silently into the folder instead: the judges see it.
    if (const std::string problem = placeProblem(folder, options.place); !problem.empty()) {
        err << onTerminal(problem) << "\n" << texts::kUseOutputFlag << "\n";
        return kInputProblem;
    }
    if (options.declareFinal) {
        // placeProblem found the place: the file has a path there.
        const std::string file = *organiserFileIn(folder, options.place, kDecisionsName);
        if (!changeDecisions(file, [&](Decisions& decisions) {
                decisions.final = FinalDeclaration{today(), evaluation.inputs};
                evaluation.decisions = decisions;
            })) {
            err << onTerminal(texts::cannotWrite(shownPath(file))) << "\n";
            return kInputProblem;
        }
        out << onTerminal(texts::declaredFinal(shownPath(file))) << "\n";
    }
    ThumbnailStore store;
    // Progress only for a person watching: not into a file, a pipe or a test's stream.
    if (&err == &std::cerr && platform::errorIsTerminal()) {
        store.update(folder, evaluation.pictures, [&err](std::size_t done, std::size_t total) {
            err << "\r" << texts::readingPictures(done, total) << std::flush;
        });
        err << "\n";
    } else {
        store.update(folder, evaluation.pictures);
    }
    if (const auto& refused = store.cacheRefused())
        err << onTerminal(*refused) << "\n";
    store.addProblems(evaluation);
    const Report report = buildReport(evaluation);
    bool written = true;
    std::string names, place;
    for (const OutputFile& output :
         writeOutputs(folder, report, store.findAll(evaluation.pictures), nullptr, options.place))
        if (!output.failure.empty()) {
            err << onTerminal(output.failure) << "\n";
            written = false;
        } else {
            place = shownFolderOf(output.path);
            names += (names.empty() ? "" : ", ") + shownName(fileNameOf(output.path));
        }

    if (report.isFinal())
        out << texts::finalHeading(report.finalDate) << "\n";
    for (const auto* lines : {&report.finalLines, &report.changedSinceFinal})
        for (const std::string& line : *lines)
            out << onTerminal(line) << "\n";
    if (report.isFinal() || !report.changedSinceFinal.empty())
        out << "\n";
    out << onTerminal(rankingTable(report)) << "\n" << onTerminal(judgeAveragesTable(report));
    if (!report.ownPicturesNote.empty())
        out << "\n" << onTerminal(report.ownPicturesNote) << "\n";
    if (written)
        out << "\n" << onTerminal(texts::written(place, names)) << "\n";
    out.flush();
    for (const std::string& problem : listedProblems(report.problems))
        err << onTerminal(problem) << "\n";
    return written ? kDone : kInputProblem;
}

} // namespace evaluation
