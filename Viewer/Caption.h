#pragma once

#include <QLabel>
#include <QString>

// Captions as the judge sees them: one line, clipped, "&" underlines the
// next character and "&&" shows one "&".
namespace caption {

QString toRichText(const QString& text);
QString toPlainText(const QString& text);

// A label showing such a caption; assistive tools read the plain text.
class Label : public QLabel {
  public:
    explicit Label(QWidget* parent = nullptr);
    void setCaption(const QString& text);
    QString caption() const { return caption_; }

  private:
    QString caption_;
};

} // namespace caption
