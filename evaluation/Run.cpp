#include "evaluation/Run.h"

#include "core/TextEncoding.h"
#include "core/TextFile.h"
#include "evaluation/Csv.h"
#include "evaluation/Folder.h"
#include "evaluation/PdfReport.h"
#include "evaluation/TextTable.h"
#include "evaluation/Texts.h"
#include "evaluation/Thumbnail.h"

#include <QDate>

#include <climits>
#include <cstdlib>

namespace evaluation {

namespace {

QImage toImage(const Thumbnail& thumbnail)
{
    const QImage view(thumbnail.pixels.data(), thumbnail.width, thumbnail.height,
                      qsizetype(thumbnail.width) * thumbnail.channels,
                      thumbnail.channels == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (std::max(thumbnail.width, thumbnail.height) <= kThumbnailSide)
        return view.copy();
    return view.scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio,
                       Qt::SmoothTransformation);
}

// One thumbnail per picture, on all cores; a picture that cannot be read
// leaves a null image and a reported problem.
std::vector<QImage> makeThumbnails(const std::string& folder, Evaluation& evaluation)
{
    std::vector<QImage> images(evaluation.pictures.size());
    std::vector<std::optional<int>> errors(images.size());
    parallelFor(images.size(), [&](std::size_t i) {
        const Thumbnail thumbnail =
            readThumbnail(pathIn(folder, evaluation.pictures[i]), kThumbnailSide);
        if (thumbnail.ok)
            images[i] = toImage(thumbnail);
        else
            errors[i] = thumbnail.jpegError.value_or(0);
    });
    for (std::size_t i = 0; i < images.size(); ++i)
        if (errors[i])
            evaluation.problems.push_back(unreadablePicture(evaluation.pictures[i], *errors[i]));
    return images;
}

// The folder's own name, for the title ("." becomes the real name).
std::string folderName(const std::string& folder)
{
    char resolved[PATH_MAX];
    std::string path = ::realpath(folder.c_str(), resolved) ? resolved : folder;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const auto slash = path.rfind('/');
    return displayText(slash == std::string::npos || path.size() == 1 ? path
                                                                      : path.substr(slash + 1));
}

bool write(const std::string& folder, const char* file, std::string_view bytes, std::ostream& err)
{
    if (textfile::writeAtomically(pathIn(folder, file), bytes))
        return true;
    err << texts::cannotWrite(displayText(pathIn(folder, file))) << "\n";
    return false;
}

} // namespace

int evaluate(const std::string& folder, std::ostream& out, std::ostream& err)
{
    FolderResult result = evaluateFolder(folder);
    Evaluation& evaluation = result.evaluation;
    if (!result.stop.empty()) {
        for (const Problem& problem : evaluation.problems)
            err << problem.text << "\n";
        err << result.stop << "\n";
        return kInputProblem;
    }
    const std::vector<QImage> thumbnails = makeThumbnails(folder, evaluation);
    const Report report = buildReport(evaluation);

    const Heading heading{
        folderName(folder),
        QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString()};
    const QByteArray pdf = rankingPdf(report, thumbnails, heading);
    const bool written =
        write(folder, texts::kCsvFile, rankingCsv(report), err) &&
        write(folder, texts::kPdfFile, {pdf.constData(), std::size_t(pdf.size())}, err);

    out << rankingTable(report) << "\n" << judgeAveragesTable(report);
    if (written)
        out << "\n" << texts::kCsvFile << " und " << texts::kPdfFile << " geschrieben.\n";
    out.flush();
    for (const Problem& problem : report.problems)
        err << problem.text << "\n";
    return written ? kDone : kInputProblem;
}

} // namespace evaluation
