#include "evaluation/prepare/EntriesModel.h"

#include "evaluation/prepare/PrepareTexts.h"

#include <algorithm>

namespace evaluation {

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString noteOf(Entry::Problem problem)
{
    switch (problem) {
    case Entry::Problem::Unreadable:
        return text(preparetexts::kUnreadable);
    case Entry::Problem::NotJpeg:
        return text(preparetexts::kNotJpeg);
    case Entry::Problem::Damaged:
        return text(preparetexts::kDamaged);
    case Entry::Problem::Unchecked:
        return text(preparetexts::kChecking);
    case Entry::Problem::None:
        break;
    }
    return {};
}

} // namespace

void EntriesModel::setEntries(std::vector<Entry> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    for (Entry& entry : entries_)
        entry.included = entry.included && entry.problem == Entry::Problem::None;
    thumbnails_.assign(entries_.size(), QImage());
    endResetModel();
    emit includedChanged();
}

void EntriesModel::setChecked(std::size_t row, Entry::Problem problem, const QImage& thumbnail)
{
    if (row >= entries_.size() || entries_[row].problem != Entry::Problem::Unchecked)
        return;
    entries_[row].problem = problem;
    entries_[row].included = problem == Entry::Problem::None;
    thumbnails_[row] = thumbnail;
    emit dataChanged(index(static_cast<int>(row), 0), index(static_cast<int>(row), Note));
    emit includedChanged();
}

bool EntriesModel::checking() const
{
    return std::any_of(entries_.begin(), entries_.end(), [](const Entry& entry) {
        return entry.problem == Entry::Problem::Unchecked;
    });
}

void EntriesModel::splitNames(NameSplit split)
{
    evaluation::splitNames(entries_, split);
    if (!entries_.empty())
        emit dataChanged(index(0, Title), index(rowCount() - 1, Author));
}

void EntriesModel::leaveOut(const std::vector<std::size_t>& rows)
{
    for (const std::size_t row : rows) {
        entries_.at(row).included = false;
        const QModelIndex cell = index(static_cast<int>(row), Included);
        emit dataChanged(cell, cell, {Qt::CheckStateRole});
    }
    emit includedChanged();
}

int EntriesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int EntriesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EntriesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const Entry& entry = entries_.at(row);
    switch (index.column()) {
    case Included:
        if (role == Qt::CheckStateRole)
            return entry.included ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::AccessibleTextRole)
            return QString::fromUtf8(entry.included ? "aufgenommen" : "nicht aufgenommen");
        return {};
    case Picture:
        if (role == Qt::DecorationRole && !thumbnails_[row].isNull())
            return thumbnails_[row];
        return {};
    case File:
    case Title:
    case Author:
    case Note: {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        const std::string& shown = index.column() == File    ? entry.relative
                                   : index.column() == Title ? entry.title
                                                             : entry.author;
        return index.column() == Note ? noteOf(entry.problem) : QString::fromStdString(shown);
    }
    default:
        return {};
    }
}

bool EntriesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    Entry& entry = entries_.at(static_cast<std::size_t>(index.row()));
    if (index.column() == Included && role == Qt::CheckStateRole &&
        entry.problem != Entry::Problem::Unchecked) {
        entry.included = value.toInt() == Qt::Checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        emit includedChanged();
        return true;
    }
    if ((index.column() == Title || index.column() == Author) && role == Qt::EditRole) {
        // One line: a line break would end up in the list and the file name.
        const std::string typed = value.toString().simplified().toStdString();
        (index.column() == Title ? entry.title : entry.author) = typed;
        emit dataChanged(index, index);
        return true;
    }
    return false;
}

Qt::ItemFlags EntriesModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    // Nothing is taken before it is decoded.
    if (index.column() == Included && index.isValid() &&
        entries_.at(static_cast<std::size_t>(index.row())).problem != Entry::Problem::Unchecked)
        flags |= Qt::ItemIsUserCheckable;
    if (index.column() == Title || index.column() == Author)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant EntriesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const headings[] = {
        preparetexts::kColumnIncluded, preparetexts::kColumnPicture, preparetexts::kColumnFile,
        preparetexts::kColumnTitle,    preparetexts::kColumnAuthor,  preparetexts::kColumnNote};
    return section >= 0 && section < ColumnCount ? text(headings[section]) : QVariant();
}

} // namespace evaluation
