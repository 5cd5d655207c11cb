#include "evaluation/prepare/PrepareWindow.h"

#include "common/FileName.h"
#include "evaluation/Tunables.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/prepare/CriteriaPanel.h"
#include "evaluation/prepare/EntryCheck.h"
#include "evaluation/prepare/PrepareTexts.h"
#include "evaluation/ranking/Folder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

namespace evaluation {

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QPushButton* button(const char* label, QWidget* parent)
{
    auto* b = new QPushButton(text(label), parent);
    b->setObjectName(b->text());
    return b;
}

bool askWithBox(QWidget* parent, QMessageBox::Icon icon, const QString& message, bool question)
{
    QMessageBox box(icon, text(preparetexts::kTitle), message,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (question)
        box.setDefaultButton(QMessageBox::No);
    return box.exec() != QMessageBox::No;
}

QString chooseFolder(QWidget* parent, const char* caption, const QString& start)
{
    QFileDialog dialog(parent, text(caption), start);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().constFirst()
               : QString();
}

std::string bytesOf(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// A path as the system writes it (on Windows with backslashes).
QString shownPath(const std::string& path)
{
    return QDir::toNativeSeparators(common::displayFileName(path));
}

} // namespace

CompetitionTemplate installedTemplate()
{
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              QStringLiteral("/" BB_TEMPLATES_FROM_BINDIR));
    if (QFileInfo(installed + QStringLiteral("/Qel.max")).isFile())
        return {bytesOf(installed + QStringLiteral("/Qel.max")),
                bytesOf(installed + QLatin1Char('/') + QLatin1String(kGuideFileName))};
    return {BB_SOURCE_DIR "/packaging/vorlage/Qel.max", BB_SOURCE_DIR "/demo/InfoQuintavo.pdf"};
}

void openPrepareWindow()
{
    auto* window = new PrepareWindow(QString(), installedTemplate());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

PrepareWindow::PrepareWindow(const QString& entriesFolder, CompetitionTemplate from,
                             QWidget* parent)
    : QWidget(parent), template_(std::move(from))
{
    setWindowTitle(text(preparetexts::kTitle));
    ask_ = [this](QMessageBox::Icon icon, const QString& message, bool question) {
        return askWithBox(this, icon, message, question);
    };
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildEntries(), 1);
    // The target beside the criteria: the entries keep the height.
    auto* settings = new QHBoxLayout;
    settings->addWidget(buildCriteria());
    settings->addWidget(buildTarget(), 1);
    layout->addLayout(settings);
    connect(&entries_, &EntriesModel::includedChanged, this, &PrepareWindow::updateCounts);

    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(1366, screen.width()), std::min(860, screen.height()));
    loadCriteria(QString());
    if (!entriesFolder.isEmpty())
        readEntries(entriesFolder);
    updateTarget();
}

PrepareWindow::~PrepareWindow()
{
    cancelWriting_ = true;
    if (writer_.joinable())
        writer_.join();
    stopThumbnails();
}

QWidget* PrepareWindow::buildEntries()
{
    auto* box = new QGroupBox(text(preparetexts::kEntriesHeading), this);
    auto* layout = new QVBoxLayout(box);
    auto* row = new QHBoxLayout;
    QPushButton* choose = button(preparetexts::kChooseEntries, box);
    connect(choose, &QPushButton::clicked, this, &PrepareWindow::chooseEntries);
    entriesFolderLabel_ = new QLabel(text(preparetexts::kNoEntriesFolder), box);
    entriesFolderLabel_->setTextFormat(Qt::PlainText);
    entriesFolderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(choose);
    row->addWidget(entriesFolderLabel_, 1);
    const std::pair<const char*, NameSplit> splits[] = {
        {preparetexts::kSplitDash, NameSplit::AuthorDashTitle},
        {preparetexts::kSplitUnderscore, NameSplit::TitleUnderscoreAuthor}};
    for (const auto& [label, split] : splits) {
        QPushButton* b = button(label, box);
        connect(b, &QPushButton::clicked, this,
                [this, split = split] { entries_.splitNames(split); });
        row->addWidget(b);
    }
    layout->addLayout(row);

    table_ = new QTableView(box);
    table_->setObjectName(text(preparetexts::kEntriesTable));
    table_->setAccessibleName(table_->objectName());
    table_->setModel(&entries_);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(tunables::kEntryThumbnailSide + 4);
    table_->setIconSize(QSize(tunables::kEntryThumbnailSide, tunables::kEntryThumbnailSide));
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(EntriesModel::Included, 80);
    table_->setColumnWidth(EntriesModel::Picture, tunables::kEntryThumbnailSide + 12);
    table_->setColumnWidth(EntriesModel::File, 300);
    table_->setColumnWidth(EntriesModel::Title, 300);
    table_->setColumnWidth(EntriesModel::Author, 200);
    layout->addWidget(table_, 1);
    counts_ = new QLabel(box);
    layout->addWidget(counts_);
    return box;
}

QWidget* PrepareWindow::buildCriteria()
{
    auto* box = new QGroupBox(text(preparetexts::kCriteriaHeading), this);
    auto* layout = new QVBoxLayout(box);
    criteriaSource_ = new QLabel(box);
    criteriaSource_->setTextFormat(Qt::PlainText);
    criteria_ = new CriteriaPanel(box);
    layout->addWidget(criteriaSource_);
    layout->addWidget(criteria_);
    return box;
}

QWidget* PrepareWindow::buildTarget()
{
    auto* box = new QGroupBox(text(preparetexts::kTargetHeading), this);
    auto* form = new QFormLayout(box);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows); // a narrow column: labels above
    name_ = new QLineEdit(box);
    name_->setObjectName(text(preparetexts::kName));
    name_->setAccessibleName(name_->objectName());
    form->addRow(text(preparetexts::kName), name_);
    auto* placeRow = new QHBoxLayout;
    place_ = new QLineEdit(box);
    place_->setObjectName(text(preparetexts::kPlace));
    place_->setAccessibleName(place_->objectName());
    QPushButton* choose = button(preparetexts::kChoosePlace, box);
    connect(choose, &QPushButton::clicked, this, &PrepareWindow::choosePlace);
    placeRow->addWidget(place_, 1);
    placeRow->addWidget(choose);
    form->addRow(text(preparetexts::kPlace), placeRow);
    anonymous_ = new QCheckBox(text(preparetexts::kAnonymous), box);
    anonymous_->setObjectName(anonymous_->text());
    anonymous_->setChecked(true);
    form->addRow(anonymous_);
    targetNote_ = new QLabel(box);
    targetNote_->setTextFormat(Qt::PlainText);
    targetNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(targetNote_);
    connect(name_, &QLineEdit::textChanged, this, &PrepareWindow::updateTarget);
    connect(place_, &QLineEdit::textChanged, this, &PrepareWindow::updateTarget);

    auto* actions = new QHBoxLayout;
    progress_ = new QProgressBar(box);
    progress_->setFormat(text(preparetexts::kProgress));
    progress_->setAccessibleName(text(preparetexts::kProgressName));
    progress_->setRange(0, 1000);
    progress_->hide();
    cancel_ = button(preparetexts::kCancel, box);
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelWriting_ = true; });
    create_ = button(preparetexts::kCreate, box);
    create_->setDefault(true);
    connect(create_, &QPushButton::clicked, this, &PrepareWindow::create);
    actions->addWidget(progress_, 1);
    actions->addWidget(cancel_);
    actions->addStretch();
    actions->addWidget(create_);
    form->addRow(actions);
    return box;
}

void PrepareWindow::chooseEntries()
{
    const QString folder =
        chooseFolder(this, preparetexts::kChooseEntriesTitle,
                     entriesFolder_.isEmpty() ? QDir::homePath() : entriesFolder_);
    if (!folder.isEmpty())
        readEntries(folder);
}

void PrepareWindow::choosePlace()
{
    const QString folder =
        chooseFolder(this, preparetexts::kChoosePlaceTitle,
                     place_->text().isEmpty() ? QDir::homePath() : place_->text());
    if (!folder.isEmpty())
        place_->setText(QDir::toNativeSeparators(folder));
}

// The list at once, the thumbnails as they are decoded on all cores.
void PrepareWindow::readEntries(const QString& folder)
{
    stopThumbnails();
    entriesFolder_ = QDir(folder).absolutePath();
    entriesFolderLabel_->setText(
        text(preparetexts::kEntriesFolder).arg(shownPath(bytesOf(entriesFolder_))));
    entries_.setEntries(listEntries(bytesOf(entriesFolder_)));
    if (place_->text().isEmpty()) {
        QDir parent(entriesFolder_);
        if (parent.cdUp())
            place_->setText(QDir::toNativeSeparators(parent.absolutePath()));
    }
    loadCriteria(entriesFolder_);

    // Every picture decoded completely before it can be taken; the
    // thumbnails come with it.
    std::vector<std::string> paths;
    for (const Entry& entry : entries_.entries())
        paths.push_back(entry.problem == Entry::Problem::Unchecked ? entry.source : std::string());
    stopThumbnails_ = false;
    thumbnails_ = std::thread([this, paths = std::move(paths)] {
        parallelFor(paths.size(), [&](std::size_t i) {
            if (stopThumbnails_ || paths[i].empty())
                return;
            const CheckedPicture checked = checkPicture(paths[i], tunables::kEntryThumbnailSide);
            const bool good = checked.problem == Entry::Problem::None;
            const QImage image = thumbnailView(good ? &checked.thumbnail : nullptr).copy();
            QMetaObject::invokeMethod(
                this,
                [this, i, problem = checked.problem, image] {
                    entries_.setChecked(i, problem, image);
                },
                Qt::QueuedConnection);
        });
    });
}

void PrepareWindow::stopThumbnails()
{
    stopThumbnails_ = true;
    if (thumbnails_.joinable())
        thumbnails_.join();
}

// The entries folder's own Qel.max when it has one (preparing again), else the template's.
void PrepareWindow::loadCriteria(const QString& folder)
{
    std::string from;
    const CriterionSettings criteria =
        criteriaFor(folder.isEmpty() ? std::string() : bytesOf(folder), template_.weighting, from);
    criteriaSource_->setText(text(preparetexts::kCriteriaFrom).arg(shownPath(from)));
    criteria_->setSettings(criteria);
}

void PrepareWindow::updateCounts()
{
    const auto& all = entries_.entries();
    const auto taken =
        std::count_if(all.begin(), all.end(), [](const Entry& e) { return e.included; });
    counts_->setText(text(preparetexts::kEntriesCount).arg(all.size()).arg(taken));
}

void PrepareWindow::updateTarget()
{
    const QString name = name_->text().trimmed();
    if (name.isEmpty() || place_->text().isEmpty()) {
        targetNote_->clear();
        return;
    }
    const QDir place(place_->text());
    targetNote_->setText(
        text(preparetexts::kTargetNote)
            .arg(QDir::toNativeSeparators(place.filePath(name)),
                 QDir::toNativeSeparators(place.filePath(name + text(kEntrantListSuffix)))));
}

void PrepareWindow::closeEvent(QCloseEvent* event)
{
    cancelWriting_ = true; // the writer removes what it wrote
    QWidget::closeEvent(event);
}

} // namespace evaluation
