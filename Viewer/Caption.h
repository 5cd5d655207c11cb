#pragma once

#include <QLabel>
#include <QString>

// Captions as the judge sees them: one line, clipped, "&" underlines the
// next character and "&&" shows one "&".
namespace caption {

QString toRichText(const QString& text);
QString toPlainText(const QString& text);

// A label showing such a caption; assistive tools read the plain text. A
// caption wider than the label is clipped and shows its whole text as a
// tooltip.
class Label : public QLabel {
  public:
    explicit Label(QWidget* parent = nullptr);
    void setCaption(const QString& text);
    QString caption() const { return caption_; }
    // True when the caption is wider than the room it is drawn in.
    bool clipped() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void updateToolTip();

    QString caption_;
};

} // namespace caption
