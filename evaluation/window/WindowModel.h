#pragma once

#include "evaluation/window/WindowReading.h"

#include <QAbstractTableModel>

#include <memory>

namespace evaluation {

// The ranking for a QTableView: texts from the reading, thumbnails as they
// arrive.
class RankingModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // Thumbnails of pictures no longer ranked are dropped.
    void setRanking(std::shared_ptr<const RankingTexts> ranking);
    // A batch of thumbnails by picture file name, added to those there are.
    void addThumbnails(const std::shared_ptr<const std::map<std::string, QImage>>& thumbnails);
    // The pictures of rows first to last (clamped).
    std::vector<std::string> pictures(int first, int last) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    bool isThumbnail(int column) const;

    std::map<std::string, QImage> thumbnails_;
    std::shared_ptr<const RankingTexts> ranking_;
};

// The judges' averages as a small table; the authors' ranking too.
class JudgesModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // Which of the ranking's small tables it shows (the judges' when not
    // called); columns from firstNumber on are numbers.
    void showColumns(QStringList RankingTexts::*headers,
                     std::vector<QStringList> RankingTexts::*rows, int firstNumber);
    void setRanking(std::shared_ptr<const RankingTexts> ranking);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::shared_ptr<const RankingTexts> ranking_;
    QStringList RankingTexts::*headers_ = &RankingTexts::judgeHeaders;
    std::vector<QStringList> RankingTexts::*rows_ = &RankingTexts::judges;
    int firstNumber_ = 1;
};

} // namespace evaluation
