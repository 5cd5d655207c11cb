#include "evaluation/window/WindowReading.h"

#include "common/FileName.h"
#include "evaluation/Tunables.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Report.h"
#include "evaluation/ranking/Texts.h"

#include <QDir>

namespace evaluation {

struct FolderReading::Job {
    std::string folder;
    std::atomic<bool> cancelled{false};
};

namespace {

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The provisional note: the first missing parts and how many more there are.
QString provisionalNote(const Report& report)
{
    if (!report.provisional())
        return {};
    QStringList parts;
    for (std::size_t i = 0; i < report.missing.size() && i < tunables::kNoteItems; ++i)
        parts << text(report.missing[i]);
    if (report.missing.size() > tunables::kNoteItems)
        parts << text(texts::moreMissing(report.missing.size() - tunables::kNoteItems));
    return text(texts::kProvisional) + QLatin1Char(' ') + parts.join(QStringLiteral(" · "));
}

std::shared_ptr<RankingTexts> rankingTexts(const Report& report,
                                           const std::vector<std::string>& pictures)
{
    auto ranking = std::make_shared<RankingTexts>();
    ranking->provisional = provisionalNote(report);
    ranking->headers = {text(texts::kRank), text(texts::kPicture), text(texts::kTitleHeading)};
    for (const std::string& judge : report.judges)
        ranking->headers << text(judge);
    ranking->headers << text(texts::kMean) << text(texts::kSum) << text(texts::kSpread)
                     << text(texts::kHint);
    const auto orNone = [](const std::string& cell) {
        return cell.empty() ? text(texts::kNoScore) : text(cell);
    };
    for (const ReportRow& row : report.rows) {
        QStringList cells{text(row.rank), text(row.title), text(row.title)};
        for (const std::string& judgeCell : row.judgeCells)
            cells << orNone(judgeCell);
        cells << orNone(row.mean) << orNone(row.sum) << orNone(row.spread) << text(row.hint);
        ranking->rows.push_back(cells);
        ranking->pictures.push_back(pictures[row.picture]);
    }
    ranking->judgeHeaders = {text(texts::kJudge), text(texts::kRatedPictures),
                             text(texts::kAverage), text(texts::kDeviation)};
    for (const JudgeRow& judge : report.judgeAverages)
        ranking->judges.push_back(
            {text(judge.name), text(judge.rated), orNone(judge.average), orNone(judge.deviation)});
    for (const Problem& problem : report.problems)
        ranking->problems << text(problem.text);
    return ranking;
}

} // namespace

FolderReading::FolderReading(QObject* parent) : QObject(parent) {}

FolderReading::~FolderReading()
{
    cancel();
    if (worker_.joinable())
        worker_.join();
}

void FolderReading::start(const QString& folder)
{
    if (!isRunning()) {
        launch(folder);
        return;
    }
    next_ = folder;
    cancel();
}

void FolderReading::cancel()
{
    if (job_)
        job_->cancelled = true;
}

void FolderReading::launch(const QString& folder)
{
    job_ = std::make_shared<Job>();
    job_->folder = QFile::encodeName(folder).toStdString();
    // One worker at a time: the store and the small thumbnails are the
    // worker's alone; joining it hands them to the next.
    worker_ = std::thread([this, job = job_] {
        // Results go to the GUI thread; they are dropped if this object is gone.
        const auto post = [this](auto function) {
            QMetaObject::invokeMethod(this, std::move(function), Qt::QueuedConnection);
        };
        ReadingEnd end;
        FolderResult result = evaluateFolder(job->folder);
        Evaluation& evaluation = result.evaluation;
        if (!result.stop.empty()) {
            auto stopped = std::make_shared<RankingTexts>();
            stopped->stop = text(result.stop);
            for (const Problem& problem : evaluation.problems)
                stopped->problems << text(problem.text);
            post([this, stopped] { emit scoresRead(stopped); });
            post([this, end] { ended(end); });
            return;
        }
        post([this, ranking = rankingTexts(buildReport(evaluation), evaluation.pictures)] {
            emit scoresRead(ranking);
        });

        end.cancelled = !store_.update(
            job->folder, evaluation.pictures,
            [&](std::size_t done, std::size_t total) {
                post([this, done, total] { emit progress(int(done), int(total)); });
            },
            &job->cancelled);
        const std::vector<const Thumbnail*> thumbnails = store_.findAll(evaluation.pictures);
        auto small = std::make_shared<std::map<std::string, QImage>>();
        for (std::size_t i = 0; i < thumbnails.size(); ++i)
            small->emplace(evaluation.pictures[i],
                           small_.get(job->folder, evaluation.pictures[i], thumbnails[i]));
        small_.keepOnly(evaluation.pictures);
        post([this, small] { emit thumbnailsRead(small); });
        if (!end.cancelled) {
            store_.addProblems(evaluation);
            const Report report = buildReport(evaluation);
            end.ranking = rankingTexts(report, evaluation.pictures);
            for (const OutputFile& output : writeOutputs(job->folder, report, thumbnails)) {
                if (output.failure.empty())
                    end.written << common::displayFileName(output.path);
                else
                    end.failures << text(output.failure);
            }
        }
        post([this, end] { ended(end); });
    });
}

void FolderReading::ended(const ReadingEnd& end)
{
    worker_.join();
    job_.reset();
    emit finished(end);
    if (!next_.isEmpty())
        launch(std::exchange(next_, QString()));
}

} // namespace evaluation
