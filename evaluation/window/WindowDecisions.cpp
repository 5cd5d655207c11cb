#include "evaluation/window/WindowDecisions.h"

#include "common/FileName.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Texts.h"
#include "evaluation/window/WindowTexts.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>

namespace evaluation {

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

DecisionButtons::DecisionButtons(QTableView* table, QWidget* parent)
    : QWidget(parent), table_(table), exclude_(new QPushButton(text(windowtexts::kExclude), this)),
      final_(new QPushButton(text(windowtexts::kDeclareFinal), this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Found by their captions; enabled once there is a ranking.
    for (QPushButton* button : {exclude_, final_}) {
        button->setObjectName(button->text());
        button->setEnabled(false);
        layout->addWidget(button);
    }
    connect(exclude_, &QPushButton::clicked, this, &DecisionButtons::excludeOrTakeIn);
    connect(final_, &QPushButton::clicked, this, &DecisionButtons::declareFinal);
}

void DecisionButtons::setFolder(const std::string& folder, const std::string& place)
{
    folder_ = folder;
    place_ = place;
}

void DecisionButtons::setRanking(std::shared_ptr<const RankingTexts> ranking)
{
    ranking_ = std::move(ranking);
    // The model is set again with each ranking: follow its current selection model.
    if (QItemSelectionModel* selection = table_->selectionModel())
        connect(selection, &QItemSelectionModel::currentRowChanged, this, &DecisionButtons::update,
                Qt::UniqueConnection);
    update();
}

int DecisionButtons::currentRow() const
{
    const int row = table_->currentIndex().row();
    return ranking_ && row >= 0 && std::size_t(row) < ranking_->rows.size() ? row : -1;
}

void DecisionButtons::update()
{
    const bool ranked = ranking_ && ranking_->stop.isEmpty();
    const int row = currentRow();
    exclude_->setEnabled(ranked && row >= 0);
    exclude_->setText(text(row >= 0 && ranking_->excluded[std::size_t(row)]
                               ? windowtexts::kTakeIn
                               : windowtexts::kExclude));
    final_->setEnabled(ranked && ranking_->finalNote.isEmpty());
}

bool DecisionButtons::change(const std::function<void(Decisions&)>& change)
{
    const auto path = organiserFileIn(folder_, place_, kDecisionsName);
    if (path && changeDecisions(*path, change)) {
        emit decided();
        return true;
    }
    emit failed(QString::fromStdString(
        texts::cannotWrite(path ? common::displayFileName(*path).toStdString() : folder_)));
    return false;
}

void DecisionButtons::excludeOrTakeIn()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const std::string picture = ranking_->pictures[std::size_t(row)];
    if (ranking_->excluded[std::size_t(row)]) {
        change([&](Decisions& decisions) { setExclusion(decisions, picture, std::nullopt); });
        return;
    }
    QStringList reasons;
    for (const char* reason : windowtexts::kReasons)
        reasons << text(reason);
    bool given = false;
    const QString reason = QInputDialog::getItem(
        this, text(windowtexts::kExclude),
        text(windowtexts::kExcludeQuestion).arg(ranking_->rows[std::size_t(row)][2]), reasons, 0,
        true, &given);
    if (!given || reason.trimmed().isEmpty())
        return;
    change([&](Decisions& decisions) {
        setExclusion(decisions, picture, reason.trimmed().toStdString());
    });
}

void DecisionButtons::declareFinal()
{
    if (!ranking_)
        return;
    const auto inputs = ranking_->inputs;
    change([&](Decisions& decisions) { decisions.final = FinalDeclaration{today(), inputs}; });
}

} // namespace evaluation
