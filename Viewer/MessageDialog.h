#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QStyle>

#include <optional>

class QScreen;

// A label whose plain text wraps at word boundaries and breaks a word longer
// than the line anywhere, so every character of a long file name shows.
// Its text stays the label's text, for assistive technology.
class BreakingLabel : public QLabel {
    Q_OBJECT
  public:
    BreakingLabel(const QString& text, int maxWidth, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSize layOut(class QTextLayout& layout, int width) const;
};

// A modal message box centred on the screen whose text wraps at half the
// screen's width. `icon` is a standard icon, or nothing.
class MessageDialog : public QDialog {
    Q_OBJECT
  public:
    MessageDialog(std::optional<QStyle::StandardPixmap> icon, const QString& caption,
                  const QString& text, QDialogButtonBox::StandardButtons buttons,
                  QDialogButtonBox::StandardButton defaultButton, QWidget* parent);

    // The button that closed the box; Esc counts as the last of `buttons`.
    QDialogButtonBox::StandardButton run();

    // What Ctrl+C puts on the clipboard: caption, text and buttons, framed
    // by dashed lines as in Qt's own boxes.
    QString copyText() const;

  protected:
    void showEvent(QShowEvent* event) override;
    // As in Qt's own boxes: an underlined letter answers without Alt, Ctrl+C copies.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QScreen* targetScreen() const;
    void centre();

    QString text_;
    QDialogButtonBox* buttons_;
    QDialogButtonBox::StandardButton escape_;
    QDialogButtonBox::StandardButton result_;
};
