#include "evaluation/window/WindowReading.h"

#include "common/FileName.h"
#include "evaluation/Tunables.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Columns.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Report.h"
#include "evaluation/ranking/SeasonTexts.h"
#include "evaluation/ranking/Texts.h"

#include <QDir>

#include <mutex>
#include <type_traits>
#include <variant>

namespace evaluation {

// What a worker uses; it outlives the reading object when that goes first.
struct FolderReading::Shared {
    std::mutex mutex;
    FolderReading* receiver = nullptr; // guarded by mutex; none once it is gone
    ThumbnailStore store;
    TableThumbnails small;
    // Guarded by mutex: what the GUI tells the worker, what it has for the GUI.
    std::vector<std::string> onScreen;
    std::map<std::string, QImage> pending;
};

struct FolderReading::Job {
    explicit Job(Cancel::Gate gate) : cancel(std::move(gate)) {}
    std::string folder;
    std::string place;
    Cancel cancel;
    std::atomic<bool> stopDecoding{false}; // on a cancel or a newer reading
};

std::atomic<int> FolderReading::running_{0};

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

QString finalNote(const Report& report)
{
    if (!report.isFinal())
        return {};
    QStringList parts{text(texts::finalHeading(report.finalDate))};
    for (const std::string& line : report.finalLines)
        parts << text(line);
    return parts.join(QStringLiteral(" · "));
}

std::shared_ptr<RankingTexts> rankingTexts(const Report& report, const Evaluation& evaluation)
{
    const std::vector<std::string>& pictures = evaluation.pictures;
    auto ranking = std::make_shared<RankingTexts>();
    ranking->provisional = provisionalNote(report);
    ranking->finalNote = finalNote(report);
    ranking->inputs = evaluation.inputs;
    ranking->columns = reportColumns(report, Output::Window);
    for (const Column& column : ranking->columns)
        ranking->headers << text(column.heading);
    const auto orNone = [](const std::string& cell) {
        return cell.empty() ? text(texts::kNoScore) : text(cell);
    };
    for (const ReportRow& row : report.rows) {
        QStringList cells;
        for (const Column& column : ranking->columns)
            cells << text(shownCell(row, column));
        ranking->rows.push_back(cells);
        ranking->pictures.push_back(pictures[row.picture]);
        ranking->excluded.push_back(row.excluded);
    }
    ranking->judgeHeaders = {text(texts::kJudge), text(texts::kRatedPictures),
                             text(texts::kAverage), text(texts::kDeviation)};
    for (const JudgeRow& judge : report.judgeAverages)
        ranking->judges.push_back(
            {text(judge.name), text(judge.rated), orNone(judge.average), orNone(judge.deviation)});
    for (const std::string& problem : listedProblems(report.problems))
        ranking->problems << text(problem);
    ranking->authorHeaders = {text(texts::kRank), text(seasontexts::kAuthor),
                              text(seasontexts::kPictures), text(seasontexts::kSumOfMeans),
                              text(seasontexts::kBestPicture)};
    for (const AuthorRow& author : report.authors)
        ranking->authors.push_back({text(author.rank), text(author.author),
                                    QString::number(author.pictures), text(author.sumText),
                                    text(author.bestText)});
    ranking->ownPictures = text(report.ownPicturesNote);
    return ranking;
}

// A table thumbnail as it is made: the picture's file name and its image.
using SmallThumbnail = std::pair<std::string, QImage>;
using ReadingEvent =
    std::variant<std::shared_ptr<const RankingTexts>, std::pair<int, int>, SmallThumbnail>;

// The pictures best first, then those without a row.
std::vector<std::string> inRankOrder(const Report& report, const std::vector<std::string>& pictures)
{
    std::vector<std::string> ranked;
    std::vector<char> placed(pictures.size(), 0);
    for (const ReportRow& row : report.rows)
        if (row.picture < pictures.size() && !placed[row.picture]) {
            placed[row.picture] = 1;
            ranked.push_back(pictures[row.picture]);
        }
    for (std::size_t i = 0; i < pictures.size(); ++i)
        if (!placed[i])
            ranked.push_back(pictures[i]);
    return ranked;
}

// The reading itself, on the worker: tells what it has through `tell`,
// looks at the cancel before each step (and before each picture's
// thumbnail), makes first the thumbnails of the pictures `onScreen` names.
ReadingEnd readFolder(ThumbnailStore& store, TableThumbnails& small, const std::string& folder,
                      const std::string& place, Cancel& cancel,
                      const std::atomic<bool>& stopDecoding,
                      const std::function<std::vector<std::string>()>& onScreen,
                      const std::function<void(ReadingEvent)>& tell)
{
    ReadingEnd end;
    FolderResult result = evaluateFolder(folder, place);
    Evaluation& evaluation = result.evaluation;
    if (!result.stop.empty()) {
        auto stopped = std::make_shared<RankingTexts>();
        stopped->stop = text(result.stop);
        for (const std::string& problem : listedProblems(evaluation.problems))
            stopped->problems << text(problem);
        tell(std::shared_ptr<const RankingTexts>(stopped));
        return end;
    }
    const Report scores = buildReport(evaluation);
    tell(std::shared_ptr<const RankingTexts>(rankingTexts(scores, evaluation)));

    ThumbnailStore::Feed feed;
    feed.progress = [&](std::size_t done, std::size_t total) {
        tell(std::pair(int(done), int(total)));
    };
    feed.cancel = &stopDecoding;
    feed.first = [&] {
        cancel.proceed(Step::thumbnail);
        return onScreen();
    };
    feed.made = [&](const std::string& picture, const Thumbnail& thumbnail) {
        tell(SmallThumbnail(picture,
                            small.get(folder, picture, thumbnail.ok ? &thumbnail : nullptr)));
    };
    const bool decoded = cancel.proceed(Step::decode) &&
                         store.update(folder, inRankOrder(scores, evaluation.pictures), feed);
    const std::vector<const Thumbnail*> thumbnails = store.findAll(evaluation.pictures);
    small.keepOnly(evaluation.pictures);
    const auto stopped = [&] {
        end.cancelled = true;
        end.superseded = !cancel.cancelled();
        return end;
    };
    if (!decoded || !cancel.proceed(Step::rank))
        return stopped();
    store.addProblems(evaluation);
    const Report report = buildReport(evaluation);
    auto ranking = rankingTexts(report, evaluation);
    if (const auto& refused = store.cacheRefused())
        ranking->problems.prepend(text(*refused));
    // Never into the folder instead: the window asked for a place.
    if (const std::string problem = placeProblem(folder, place); !problem.empty()) {
        end.ranking = std::move(ranking);
        end.failures << text(problem);
        return end;
    }
    const std::vector<OutputFile> outputs =
        writeOutputs(folder, report, thumbnails, &cancel, place);
    if (outputs.empty())
        return stopped();
    end.ranking = std::move(ranking);
    for (const OutputFile& output : outputs) {
        if (output.failure.empty()) {
            end.written << common::displayFileName(output.path);
            end.place = text(shownFolderOf(output.path));
        } else {
            end.failures << text(output.failure);
            if (output.heldOpen)
                end.held.push_back(output.path);
        }
    }
    return end;
}

} // namespace

FolderReading::FolderReading(Cancel::Gate gate, QObject* parent)
    : QObject(parent), shared_(std::make_shared<Shared>()), gate_(std::move(gate))
{
    shared_->receiver = this;
    batches_.setSingleShot(true);
    batches_.setInterval(tunables::kThumbnailBatch);
    connect(&batches_, &QTimer::timeout, this, [this] { deliverThumbnails(); });
}

FolderReading::~FolderReading()
{
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->receiver = nullptr;
    }
    cancel();
    if (worker_.joinable())
        worker_.detach();
}

void FolderReading::start(const std::string& folder)
{
    if (!isRunning()) {
        launch(folder);
        return;
    }
    next_ = folder;
    job_->stopDecoding = true;
}

void FolderReading::cancel()
{
    next_.clear();
    if (job_) {
        job_->cancel.cancel();
        job_->stopDecoding = true;
    }
}

void FolderReading::launch(const std::string& folder)
{
    job_ = std::make_shared<Job>(gate_);
    job_->folder = folder;
    job_->place = place_;
    ++running_;
    // One worker at a time: the store and the small thumbnails are the
    // worker's alone; joining it hands them to the next.
    worker_ = std::thread([this, shared = shared_, job = job_] {
        // Results go to the GUI thread; they are dropped once this object is
        // gone, so `this` is used only in what is delivered.
        const auto post = [&shared](std::function<void()> function) {
            const std::lock_guard lock(shared->mutex);
            if (shared->receiver)
                QMetaObject::invokeMethod(shared->receiver, std::move(function),
                                          Qt::QueuedConnection);
        };
        const auto onScreen = [&shared] {
            const std::lock_guard lock(shared->mutex);
            return shared->onScreen;
        };
        const ReadingEnd end = readFolder(
            shared->store, shared->small, job->folder, job->place, job->cancel, job->stopDecoding,
            onScreen, [&](ReadingEvent event) {
                std::visit(
                    [&](auto& value) {
                        using T = std::decay_t<decltype(value)>;
                        if constexpr (std::is_same_v<T, std::shared_ptr<const RankingTexts>>)
                            post([this, value] { emit scoresRead(value); });
                        else if constexpr (std::is_same_v<T, std::pair<int, int>>)
                            post([this, value] { emit progress(value.first, value.second); });
                        else {
                            bool first = false;
                            {
                                const std::lock_guard lock(shared->mutex);
                                first = shared->pending.empty();
                                shared->pending.insert_or_assign(value.first, value.second);
                            }
                            if (first)
                                post([this] { deliverThumbnails(); });
                        }
                    },
                    event);
            });
        post([this, end] { ended(end); });
        --running_;
    });
}

void FolderReading::setOnScreen(std::vector<std::string> pictures)
{
    const std::lock_guard lock(shared_->mutex);
    shared_->onScreen = std::move(pictures);
}

void FolderReading::deliverThumbnails(bool now)
{
    if (batches_.isActive() && !now)
        return;
    auto batch = std::make_shared<std::map<std::string, QImage>>();
    {
        const std::lock_guard lock(shared_->mutex);
        batch->swap(shared_->pending);
    }
    if (batch->empty())
        return;
    emit thumbnailsRead(batch);
    batches_.start();
}

void FolderReading::ended(const ReadingEnd& end)
{
    deliverThumbnails(true); // the last ones come before the end
    worker_.join();
    job_.reset();
    emit finished(end);
    if (!next_.empty())
        launch(std::exchange(next_, std::string()));
}

} // namespace evaluation
