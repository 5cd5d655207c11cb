#pragma once

#include "Viewer/Caption.h"

#include <QFrame>
#include <QSlider>

// One criterion: its caption, its slider (0..maximum) and its value label.
class CriterionRow : public QFrame {
    Q_OBJECT
  public:
    CriterionRow(int criterion, QWidget* parent);

    QSlider* slider() const { return slider_; }
    QLabel* valueLabel() const { return value_; }
    caption::Label* captionLabel() const { return caption_; }

    // A programmatic set: the slider reports nothing.
    void setRange(int maximum, int position);
    void setPosition(int position);
    void setValueText(const QString& text);
    void setCaption(const QString& text);

  signals:
    // The judge operated the slider (also when its value stayed the same).
    void operated(int criterion, int position);

  private:
    int criterion_;
    caption::Label* caption_;
    QSlider* slider_;
    QLabel* value_;
};
