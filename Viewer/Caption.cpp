#include "Viewer/Caption.h"

#include <QEvent>
#include <QTextDocument>

namespace caption {

namespace {

// Walks the text and calls plain(ch) for shown characters and underlined(ch)
// for a character marked by "&".
template <typename Plain, typename Underlined>
void walk(const QString& text, Plain plain, Underlined underlined)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            plain(text[i]);
        } else if (i + 1 < text.size()) {
            ++i;
            if (text[i] == QLatin1Char('&'))
                plain(text[i]);
            else
                underlined(text[i]);
        }
    }
}

QString escaped(QChar ch)
{
    if (ch == QLatin1Char(' '))
        return QStringLiteral("&nbsp;");
    return QString(ch).toHtmlEscaped();
}

} // namespace

QString toRichText(const QString& text)
{
    QString html = QStringLiteral("<span style=\"white-space:pre\">");
    walk(
        text, [&](QChar ch) { html += escaped(ch); },
        [&](QChar ch) { html += QStringLiteral("<u>") + escaped(ch) + QStringLiteral("</u>"); });
    return html + QStringLiteral("</span>");
}

QString toPlainText(const QString& text)
{
    QString plain;
    walk(
        text, [&](QChar ch) { plain += ch; }, [&](QChar ch) { plain += ch; });
    return plain;
}

Label::Label(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setWordWrap(false);
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void Label::setCaption(const QString& text)
{
    caption_ = text;
    setText(toRichText(text));
    setAccessibleName(toPlainText(text));
    updateToolTip();
}

bool Label::clipped() const
{
    return fontMetrics().horizontalAdvance(toPlainText(caption_)) > contentsRect().width();
}

void Label::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    updateToolTip();
}

void Label::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateToolTip();
}

void Label::updateToolTip()
{
    const QString plain = clipped() ? toPlainText(caption_).trimmed() : QString();
    // A tooltip guesses its format: a name with tags is escaped to stay text.
    setToolTip(Qt::mightBeRichText(plain)
                   ? QStringLiteral("<span>") + plain.toHtmlEscaped() + QStringLiteral("</span>")
                   : plain);
}

} // namespace caption
