#pragma once

#include "Viewer/Caption.h"
#include "Viewer/CriterionRow.h"
#include "Viewer/UpDown.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <array>

// The rating panel at the top right of the window: command row, file name,
// judge name, the fifteen criterion rows and the four sums.
class QelPanel : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kWidth = 313;
    static constexpr int kHeight = 733;

    explicit QelPanel(QWidget* parent);

    // Enables the arrow buttons; a focused one that is disabled hands the
    // focus to the window, not to the next control.
    void setArrows(bool next, bool previous);

    QFrame* Buttonpanel;
    QLabel* Label6;
    QPushButton* zurueckButton;
    QPushButton* vorButton;
    UpDown* Hintergrund;
    QToolButton* zoombutton;
    QToolButton* SpeedButton2;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
    QLabel* Bilddatei;
    caption::Label* FilePanel;
    QLabel* Label7;
    QLineEdit* Bewerter;
    QToolButton* bsave;
    QToolButton* bload;
    QLabel* WPkt;
    QLabel* TPkt;
    QLabel* BPkt;
    QLabel* TotalPkt;
    QPushButton* Buttonvandaro;
    std::array<CriterionRow*, 15> rows{};
};
