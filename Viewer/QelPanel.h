#pragma once

#include "Viewer/Caption.h"
#include "Viewer/CriterionRow.h"
#include "Viewer/UpDown.h"
#include "core/Criteria.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <array>

// The rating panel at the top right of the window: command row, file name,
// judge name, the fifteen criterion rows and the four sums. It shows what
// the handlers tell it and reports the judge's actions as signals; the
// widgets themselves stay inside.
class QelPanel : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kWidth = 313;
    static constexpr int kHeight = 733;
    // From the window's top and right edges.
    static constexpr int kMargin = 4;

    explicit QelPanel(QWidget* parent);

    // Enables the arrow buttons; a focused one that is disabled hands the
    // focus to the window, not to the next control.
    void setArrows(bool next, bool previous);
    void setZoomChecked(bool on);

    // "Bild: " and the picture's file name.
    void setFileName(const QString& name);

    QString judgeName() const;
    void setJudgeName(const QString& name);

    // Criterion n: its slider's maximum and position (a programmatic set
    // that reports nothing), value label, caption and visibility.
    void setCriterionRange(int n, int maximum, int position);
    void setCriterionPosition(int n, int position);
    void setValueText(int n, const QString& text);
    void setCriterionCaption(int n, const QString& caption, bool visible);

    // The sum panels W, T, B and the total.
    void setSums(const QString& w, const QString& t, const QString& b, const QString& total);

  signals:
    void nextClicked();
    void previousClicked();
    void grayStepped(int position);
    void zoomClicked();
    void infoClicked();
    void minimiseClicked();
    void closeClicked();
    void saveClicked();
    void loadClicked();
    void webClicked();
    // The judge operated the slider of criterion n (also without a change).
    void criterionOperated(int n, int position);

  private:
    void buildRatingArea();
    void connectSignals();

    QFrame* Buttonpanel;
    QLabel* Label6; // the version text "Version 2.3"
    QPushButton* zurueckButton;
    QPushButton* vorButton;
    UpDown* Hintergrund;
    QToolButton* zoombutton;
    QToolButton* SpeedButton2; // the information button: opens the information document
    QPushButton* BitBtn2;      // minimises the window
    QPushButton* BitBtn1;      // "X": closes the program
    QLabel* Bilddatei;
    caption::Label* FilePanel;
    QLabel* Label7; // "Bewerter:", the caption of the judge's name
    QLineEdit* Bewerter;
    QToolButton* bsave;
    QToolButton* bload;
    QLabel* WPkt;
    QLabel* TPkt;
    QLabel* BPkt;
    QLabel* TotalPkt;
    QPushButton* Buttonvandaro; // opens the web page
    std::array<CriterionRow*, kCriterionCount> rows{};
};
