#pragma once

#include <QWidget>

class QToolButton;

// A vertical up-down control: an up and a down arrow over a position
// 0..maximum without wrap-around. It reports only real changes.
class UpDown : public QWidget {
    Q_OBJECT
  public:
    UpDown(int maximum, QWidget* parent);

    int position() const { return position_; }
    void step(int delta);

  signals:
    void changed(int position);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int maximum_;
    int position_ = 0;
    QToolButton* up_;
    QToolButton* down_;
};
