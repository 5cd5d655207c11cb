#pragma once

#include "evaluation/window/WindowReading.h"

#include <QWidget>

#include <memory>
#include <string>

class QPushButton;
class QTableView;

namespace evaluation {

// "Ausschließen" (with a reason) for the picture of the table's current
// row, "Wieder aufnehmen" for an excluded one, and "Endgültig ausgeben":
// each writes the organiser's decisions beside the folder, which the next
// reading takes in.
class DecisionButtons : public QWidget {
    Q_OBJECT
  public:
    DecisionButtons(QTableView* table, QWidget* parent);

    // folder: bytes, absolute; place: where the organiser's files go, "": beside.
    void setFolder(const std::string& folder, const std::string& place);
    void setRanking(std::shared_ptr<const RankingTexts> ranking);

  signals:
    void decided();
    void failed(const QString& text);

  private:
    void update();
    void excludeOrTakeIn();
    void declareFinal();
    bool change(const std::function<void(Decisions&)>& change);
    int currentRow() const;

    QTableView* table_;
    QPushButton* exclude_;
    QPushButton* final_;
    std::string folder_, place_;
    std::shared_ptr<const RankingTexts> ranking_;
};

} // namespace evaluation
