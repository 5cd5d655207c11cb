#pragma once

#include "evaluation/ranking/Preparation.h"

#include <QAbstractTableModel>
#include <QImage>

#include <vector>

namespace evaluation {

// The members' pictures for a QTableView: taken or not, thumbnail, file,
// title and author (both editable), what is wrong with the file.
class EntriesModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Included, Picture, File, Title, Author, Note, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setEntries(std::vector<Entry> entries);
    const std::vector<Entry>& entries() const { return entries_; }
    // The row's picture decoded: what is wrong with it and its thumbnail; a
    // good one is taken.
    void setChecked(std::size_t row, Entry::Problem problem, const QImage& thumbnail);
    // Whether a picture is still being decoded.
    bool checking() const;
    void splitNames(NameSplit split);
    void leaveOut(const std::vector<std::size_t>& rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  signals:
    void includedChanged();

  private:
    std::vector<Entry> entries_;
    std::vector<QImage> thumbnails_;
};

} // namespace evaluation
