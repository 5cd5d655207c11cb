#include "evaluation/window/Window.h"

#include "common/FileName.h"
#include "core/Platform.h"
#include "evaluation/Tunables.h"
#include "evaluation/outputs/Certificates.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/prepare/PrepareTexts.h"
#include "evaluation/prepare/PrepareWindow.h"
#include "evaluation/present/PresentationControls.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/SeasonTexts.h"
#include "evaluation/ranking/Texts.h"
#include "evaluation/window/SeasonWindow.h"
#include "evaluation/window/WindowDecisions.h"
#include "evaluation/window/WindowTexts.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace evaluation {

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A table that AT-SPI reads with its headers, sized to its contents.
QTableView* makeTable(QAbstractItemModel& model, const char* name, QWidget* parent)
{
    auto* table = new QTableView(parent);
    table->setObjectName(QLatin1String(name));
    table->setAccessibleName(text(name));
    table->setModel(&model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

QGroupBox* framed(const char* title, QWidget* content)
{
    auto* box = new QGroupBox(text(title));
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

} // namespace

EvaluationWindow::EvaluationWindow(const std::string& folder, WatchTimes times,
                                   Cancel::Gate readingGate, QWidget* parent)
    : QWidget(parent), folderPath_(platform::absolutePath(folder)),
      folder_(QDir::cleanPath(common::displayFileName(folderPath_))),
      reading_(std::move(readingGate)), watcher_(times)
{
    setWindowTitle(text(windowtexts::kTitle).arg(QDir(folder_).dirName()));
    buildControls();
    connect(&reading_, &FolderReading::scoresRead, this, &EvaluationWindow::showRanking);
    connect(&reading_, &FolderReading::thumbnailsRead, &ranking_, &RankingModel::addThumbnails);
    connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &EvaluationWindow::tellRowsOnScreen);
    connect(&reading_, &FolderReading::progress, this, &EvaluationWindow::showProgress);
    connect(&reading_, &FolderReading::finished, this, &EvaluationWindow::showEnd);
    connect(&watcher_, &FolderWatcher::inputsChanged, this, &EvaluationWindow::readAgain);
    connect(&watcher_, &FolderWatcher::presenceChanged, back_, &QLabel::setVisible);
    watcher_.watch(folderPath_);
    heldLook_.setInterval(tunables::kHeldLook);
    connect(&heldLook_, &QTimer::timeout, this, [this] {
        if (std::all_of(held_.begin(), held_.end(), platform::replaceable))
            readAgain();
    });
    QMetaObject::invokeMethod(this, &EvaluationWindow::firstReading, Qt::QueuedConnection);
}

void EvaluationWindow::setOutputPlace(const std::string& place)
{
    place_ = place.empty() ? place : platform::absolutePath(place);
    reading_.setPlace(place_);
    decisions_->setFolder(folderPath_, place_);
}

// Never silently into the folder: where beside cannot be written, the organiser chooses.
void EvaluationWindow::firstReading()
{
    for (std::string problem; !(problem = placeProblem(folderPath_, place_)).empty();) {
        failures_->setText(QString::fromStdString(problem));
        failures_->show();
        const QString chosen = QFileDialog::getExistingDirectory(
            this, text(windowtexts::kChoosePlace), QDir::homePath());
        if (chosen.isEmpty())
            break;
        setOutputPlace(QFile::encodeName(chosen).toStdString());
        failures_->hide();
    }
    readAgain();
}

std::string EvaluationWindow::outputPath(const char* file) const
{
    const auto path = organiserFileIn(folderPath_, place_, *file ? file : kDecisionsName);
    return !path ? std::string() : *file ? *path : path->substr(0, path->find_last_of('/') + 1);
}

void EvaluationWindow::buildControls()
{
    note_ = new QLabel(text(windowtexts::kReadingScores), this);
    note_->setTextFormat(Qt::PlainText); // names in it are never markup
    note_->setWordWrap(true);
    note_->setStyleSheet(QStringLiteral("font-weight: bold"));
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    back_ = new QLabel(text(windowtexts::kFolderBack), this);
    back_->setTextFormat(Qt::PlainText);
    back_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    back_->hide();

    progress_ = new QProgressBar(this);
    progress_->setFormat(text(windowtexts::kProgress));
    progress_->setAccessibleName(text(windowtexts::kProgressName));
    cancel_ = new QPushButton(text(windowtexts::kCancel), this);
    cancel_->setObjectName(cancel_->text());
    connect(cancel_, &QPushButton::clicked, &reading_, &FolderReading::cancel);
    progress_->hide();
    cancel_->hide();
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(cancel_);

    table_ = makeTable(ranking_, windowtexts::kRankingName, this);
    table_->verticalHeader()->setDefaultSectionSize(tunables::kTableThumbnailSide + 4);
    table_->setIconSize(QSize(tunables::kTableThumbnailSide, tunables::kTableThumbnailSide));
    table_->setWordWrap(false);

    QTableView* judges = makeTable(judges_, texts::kJudgesHeading, this);
    // Five judges and the headings without a scroll bar; the ranking gets the rest.
    judges->setMinimumHeight(6 * judges->verticalHeader()->defaultSectionSize() +
                             2 * judges->frameWidth());
    problems_ = new QListWidget(this);
    problems_->setObjectName(QLatin1String(texts::kProblemsHeading));
    problems_->setAccessibleName(text(texts::kProblemsHeading));
    problems_->setWordWrap(true);
    authors_.showColumns(&RankingTexts::authorHeaders, &RankingTexts::authors, 2);
    QTableView* authors = makeTable(authors_, seasontexts::kAuthorsHeading, this);
    ownPictures_ = new QLabel(this);
    ownPictures_->setTextFormat(Qt::PlainText);
    ownPictures_->setWordWrap(true);
    ownPictures_->hide();
    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(framed(texts::kJudgesHeading, judges));
    authorsBox_ = framed(seasontexts::kAuthorsHeading, authors);
    authorsBox_->layout()->addWidget(ownPictures_);
    authorsBox_->hide(); // only with an entrant list
    lower->addWidget(authorsBox_);
    lower->addWidget(framed(texts::kProblemsHeading, problems_));
    lower->setSizes({2, 2, 3}); // in proportion: the judges' table gets its columns

    auto* upright = new QSplitter(Qt::Vertical, this);
    upright->addWidget(table_);
    upright->addWidget(lower);
    upright->setStretchFactor(0, 3);
    upright->setStretchFactor(1, 1);
    upright->setChildrenCollapsible(false);

    failures_ = new QLabel(this);
    failures_->setTextFormat(Qt::PlainText);
    failures_->setWordWrap(true);
    failures_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    failures_->hide();
    // After a file open in another program was closed: the next change of
    // the inputs writes again by itself, this button at once.
    retry_ = new QPushButton(text(windowtexts::kTryAgain), this);
    retry_->hide();
    connect(retry_, &QPushButton::clicked, this, &EvaluationWindow::readAgain);
    auto* failureRow = new QHBoxLayout;
    failureRow->addWidget(failures_, 1);
    failureRow->addWidget(retry_, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note_);
    layout->addWidget(back_);
    layout->addLayout(progressRow);
    layout->addWidget(upright, 1);
    layout->addLayout(failureRow);
    layout->addWidget(buildCertificatesRow());
    layout->addWidget(buildOutputRow());

    // Fits a 1366 × 768 screen with a panel; larger screens get the same.
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(1280, screen.width()), std::min(720, screen.height()));
}

QWidget* EvaluationWindow::buildOutputRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    written_ = new QLabel(row);
    written_->setTextFormat(Qt::PlainText);
    written_->setWordWrap(true);
    written_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(written_, 1);
    const struct {
        const char* button;
        const char* file; // "": the folder
        const char* kind;
    } outputs[] = {{windowtexts::kOpenPdf, texts::kPdfFile, windowtexts::kPdfFiles},
                   {windowtexts::kOpenPage, texts::kHtmlFile, windowtexts::kPages},
                   {windowtexts::kOpenTable, texts::kCsvFile, windowtexts::kTables},
                   {windowtexts::kOpenFolder, "", windowtexts::kFolders}};
    for (const auto& output : outputs) {
        const char *file = output.file, *kind = output.kind;
        auto* button = new QPushButton(text(output.button), row);
        button->setObjectName(button->text());
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this,
                [this, file, kind] { openOutput(file, kind); });
        layout->addWidget(button);
        openButtons_.emplace_back(button, file);
    }
    auto* prepare = new QPushButton(QString::fromUtf8(preparetexts::kPrepare), row);
    prepare->setObjectName(prepare->text());
    connect(prepare, &QPushButton::clicked, this, &openPrepareWindow);
    layout->insertWidget(0, prepare);
    decisions_ = new DecisionButtons(table_, row);
    decisions_->setFolder(folderPath_, place_);
    connect(decisions_, &DecisionButtons::decided, this, [this] {
        watcher_.watch(folderPath_); // the change is the window's own: read once
        readAgain();
    });
    connect(decisions_, &DecisionButtons::failed, this, [this](const QString& failure) {
        failures_->setText(failure);
        failures_->show();
    });
    layout->insertWidget(1, decisions_);
    layout->insertWidget(2, new PresentationControls(folderPath_, row));
    return row;
}

void EvaluationWindow::readAgain()
{
    heldLook_.stop();
    reading_.start(folderPath_);
}

void EvaluationWindow::showRanking(std::shared_ptr<const RankingTexts> ranking)
{
    note_->setText(!ranking->stop.isEmpty()         ? ranking->stop
                   : ranking->provisional.isEmpty() ? ranking->finalNote
                                                    : ranking->provisional);
    note_->setVisible(!note_->text().isEmpty());
    problems_->clear();
    problems_->addItems(ranking->problems);
    judges_.setRanking(ranking);
    authorsBox_->setVisible(!ranking->authors.empty());
    ownPictures_->setText(ranking->ownPictures);
    ownPictures_->setVisible(!ranking->ownPictures.isEmpty());
    authors_.setRanking(ranking);
    ranking_.setRanking(ranking);
    decisions_->setRanking(std::move(ranking));
    tellRowsOnScreen();
}

void EvaluationWindow::tellRowsOnScreen()
{
    const int bottom = table_->rowAt(table_->viewport()->height() - 1);
    reading_.setOnScreen(ranking_.pictures(std::max(table_->rowAt(0), 0),
                                           bottom < 0 ? ranking_.rowCount() - 1 : bottom));
}

void EvaluationWindow::showProgress(int done, int total)
{
    progress_->setRange(0, total);
    progress_->setValue(done);
    const bool reading = done < total;
    progress_->setVisible(reading);
    cancel_->setVisible(reading);
}

void EvaluationWindow::showEnd(const ReadingEnd& end)
{
    progress_->hide();
    cancel_->hide();
    if (end.cancelled) {
        if (!end.superseded)
            written_->setText(text(windowtexts::kCancelled));
    } else {
        if (end.ranking)
            showRanking(end.ranking);
        QStringList names;
        for (const QString& path : end.written)
            names << QFileInfo(path).fileName();
        written_->setText(names.isEmpty()
                              ? QString()
                              : text(windowtexts::kWritten)
                                    .arg(QDir::toNativeSeparators(end.place), names.join(", ")));
        failures_->setText(end.failures.join(QLatin1Char('\n')));
        failures_->setVisible(!end.failures.isEmpty());
        retry_->setVisible(!end.failures.isEmpty());
        // Written as soon as the other program lets go, not at the next save.
        held_ = end.held;
        if (!held_.empty())
            heldLook_.start();
    }
    for (const auto& [button, file] : openButtons_) {
        const std::string output = outputPath(file);
        const auto status = platform::status(output);
        button->setEnabled(*file ? status && status->regular : isDirectory(output));
        // The buttons name the place: beside the folder, never in it.
        button->setToolTip(QDir::toNativeSeparators(
            QFileInfo(QFile::decodeName(output.c_str())).absoluteFilePath()));
        button->setAccessibleDescription(button->toolTip());
    }
    emit readingFinished();
}

void EvaluationWindow::openOutput(const char* file, const char* kind)
{
    const QFileInfo output(QFile::decodeName(outputPath(file).c_str()));
    const QString path = output.canonicalFilePath().isEmpty() ? output.absoluteFilePath()
                                                              : output.canonicalFilePath();
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return;
    // Never silence: the organiser learns where the file is.
    failures_->setText(
        text(*file ? windowtexts::kNoProgramForFile : windowtexts::kNoProgramForFolder)
            .arg(text(kind),
                 QDir::toNativeSeparators(*file ? QFileInfo(path).absolutePath() : path)));
    failures_->show();
}

// The club's name (remembered), up to which place, and the button.
QWidget* EvaluationWindow::buildCertificatesRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* clubLabel = new QLabel(text(seasontexts::kClub), row);
    club_ = new QLineEdit(QString::fromStdString(clubName()), row);
    club_->setPlaceholderText(text(seasontexts::kClubPlaceholder));
    club_->setAccessibleName(text(seasontexts::kClub));
    clubLabel->setBuddy(club_);
    connect(club_, &QLineEdit::editingFinished, this,
            [this] { rememberClubName(club_->text().trimmed().toStdString()); });
    auto* placesLabel = new QLabel(text(seasontexts::kUpToPlace), row);
    places_ = new QSpinBox(row);
    places_->setRange(1, 99);
    places_->setValue(3);
    places_->setAccessibleName(text(seasontexts::kUpToPlace));
    placesLabel->setBuddy(places_);
    auto* certificates = new QPushButton(text(seasontexts::kCertificatesButton), row);
    certificates->setObjectName(certificates->text());
    connect(certificates, &QPushButton::clicked, this, &EvaluationWindow::writeCertificates);
    auto* season = new QPushButton(text(seasontexts::kSeasonButton), row);
    season->setObjectName(season->text());
    connect(season, &QPushButton::clicked, this, [this] {
        auto* window = new SeasonWindow({folderPath_});
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    });
    layout->addWidget(clubLabel);
    layout->addWidget(club_, 1);
    layout->addWidget(placesLabel);
    layout->addWidget(places_);
    layout->addWidget(certificates);
    layout->addStretch(1);
    layout->addWidget(season);
    return row;
}

void EvaluationWindow::writeCertificates()
{
    const std::string club = club_->text().trimmed().toStdString();
    rememberClubName(club);
    const CertificatesWritten result =
        evaluation::writeCertificates(folderPath_, club, places_->value());
    if (!result.failure.empty()) {
        failures_->setText(QString::fromStdString(result.failure));
        failures_->show();
        return;
    }
    failures_->hide();
    written_->setText(QString::fromStdString(
        seasontexts::certificatesWritten(common::displayFileNameUtf8(result.path), result.pages)));
}

} // namespace evaluation
