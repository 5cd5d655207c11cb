#include "evaluation/window/WindowModel.h"

#include "evaluation/Tunables.h"

#include <QApplication>
#include <QFontMetrics>
#include <QSize>

#include <algorithm>
#include <set>

namespace evaluation {

namespace {

// Numbers right, words left, as in the printed ranking.
QVariant alignment(bool number)
{
    return QVariant::fromValue(Qt::Alignment(number ? Qt::AlignRight | Qt::AlignVCenter
                                                    : Qt::AlignLeft | Qt::AlignVCenter));
}

// A long heading (a judge's full name, a criterion's caption) is shortened
// in its middle, so that it cannot widen the window past the screen; the
// tooltip and assistive technology get it whole.
QVariant header(const QStringList& headers, int section, Qt::Orientation orientation, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= headers.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QFontMetrics(QApplication::font("QHeaderView"))
            .elidedText(headers[section], Qt::ElideMiddle, tunables::kHeadingWidth);
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        return headers[section];
    default:
        return {};
    }
}

} // namespace

void RankingModel::setRanking(std::shared_ptr<const RankingTexts> ranking)
{
    const std::set<std::string> ranked =
        ranking ? std::set(ranking->pictures.begin(), ranking->pictures.end())
                : std::set<std::string>();
    std::erase_if(thumbnails_, [&](const auto& entry) { return !ranked.contains(entry.first); });
    const bool sameColumns = ranking_ && ranking && ranking_->headers == ranking->headers;
    if (sameColumns && ranking_->rows.size() == ranking->rows.size()) {
        // Same shape: the view keeps its scroll position and selection.
        ranking_ = std::move(ranking);
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        return;
    }
    beginResetModel();
    ranking_ = std::move(ranking);
    endResetModel();
}

void RankingModel::addThumbnails(
    const std::shared_ptr<const std::map<std::string, QImage>>& thumbnails)
{
    for (const auto& [picture, image] : *thumbnails)
        thumbnails_.insert_or_assign(picture, image);
    for (int column = 0; column < columnCount() && rowCount() > 0; ++column)
        if (isThumbnail(column))
            emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::DecorationRole});
}

bool RankingModel::isThumbnail(int column) const
{
    return ranking_ && ranking_->columns.at(std::size_t(column)).shows == Shows::Thumbnail;
}

std::vector<std::string> RankingModel::pictures(int first, int last) const
{
    const int size = ranking_ ? int(ranking_->pictures.size()) : 0;
    const int begin = std::clamp(first, 0, size);
    const int end = std::clamp(last + 1, begin, size);
    if (begin == end)
        return {};
    return {ranking_->pictures.begin() + begin, ranking_->pictures.begin() + end};
}

int RankingModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !ranking_ ? 0 : int(ranking_->rows.size());
}

int RankingModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !ranking_ ? 0 : int(ranking_->headers.size());
}

QVariant RankingModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !ranking_)
        return {};
    const QString& cell = ranking_->rows[std::size_t(index.row())][index.column()];
    const bool thumbnail = isThumbnail(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return thumbnail ? QVariant() : QVariant(cell);
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
        return cell;
    case Qt::DecorationRole:
        if (thumbnail) {
            const auto found = thumbnails_.find(ranking_->pictures[std::size_t(index.row())]);
            if (found != thumbnails_.end() && !found->second.isNull())
                return found->second;
        }
        return {};
    case Qt::SizeHintRole:
        // The thumbnails' width before they come: the rows never jump.
        return thumbnail ? QVariant(QSize(tunables::kTableThumbnailSide + 8,
                                          tunables::kTableThumbnailSide + 4))
                         : QVariant();
    case Qt::TextAlignmentRole:
        return alignment(ranking_->columns.at(std::size_t(index.column())).align == Align::Right);
    default:
        return {};
    }
}

QVariant RankingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return ranking_ ? header(ranking_->headers, section, orientation, role) : QVariant();
}

void JudgesModel::showColumns(QStringList RankingTexts::*headers,
                              std::vector<QStringList> RankingTexts::*rows, int firstNumber)
{
    headers_ = headers;
    rows_ = rows;
    firstNumber_ = firstNumber;
}

void JudgesModel::setRanking(std::shared_ptr<const RankingTexts> ranking)
{
    beginResetModel();
    ranking_ = std::move(ranking);
    endResetModel();
}

int JudgesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !ranking_ ? 0 : int((ranking_.get()->*rows_).size());
}

int JudgesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !ranking_ ? 0 : int((ranking_.get()->*headers_).size());
}

QVariant JudgesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !ranking_)
        return {};
    const QString& cell = (ranking_.get()->*rows_)[std::size_t(index.row())][index.column()];
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return cell;
    if (role == Qt::TextAlignmentRole)
        return alignment(index.column() >= firstNumber_); // all but the names are numbers
    return {};
}

QVariant JudgesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return ranking_ ? header(ranking_.get()->*headers_, section, orientation, role) : QVariant();
}

} // namespace evaluation
