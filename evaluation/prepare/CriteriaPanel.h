#pragma once

#include "core/Weighting.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace evaluation {

// The fifteen criteria in their three groups: each one's maximum (0 hides
// the row) and description, whether the description fits the judging
// panel, and the points of each group and in all as the judges will see them.
class CriteriaPanel : public QWidget {
    Q_OBJECT
  public:
    explicit CriteriaPanel(QWidget* parent = nullptr);

    void setSettings(const CriterionSettings& settings);
    CriterionSettings settings() const;
    // The codes (" W3") of visible rows whose description is too long.
    QStringList tooLong() const;

  private:
    struct Row {
        QSpinBox* maximum = nullptr;
        QLineEdit* description = nullptr;
        QLabel* fit = nullptr;
    };
    void update();

    std::array<Row, kCriterionCount> rows_{};
    std::array<QLabel*, 3> groupSums_{};
    QLabel* total_ = nullptr;
};

} // namespace evaluation
