#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

// The room a criterion's caption has in the judging panel: the organiser's
// preparation tells by the same measure whether a description fits.
namespace common {

inline constexpr int kCaptionWidth = 124; // pixels

// The panel's font: the platform's sans-serif at 11 pixels. Windows knows
// no family "sans-serif" (its fallback may be a serif font, or one whose
// text a line edit cannot show): there it is the system's dialog font.
inline QFont captionFont()
{
#ifdef Q_OS_WIN
    QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
#else
    QFont font(QStringLiteral("sans-serif"));
#endif
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

// What a criterion's caption is drawn with in its row: the panel's family
// at 13 pixels.
inline QFont criterionCaptionFont()
{
    QFont font = captionFont();
    font.setPixelSize(13);
    return font;
}

// Whether a caption, as the judge sees it (no "&" markers), fits unclipped
// in its row: the one measure of the panel and the preparation.
inline bool captionFits(const QString& shown)
{
    return QFontMetrics(criterionCaptionFont()).horizontalAdvance(shown) <= kCaptionWidth;
}

} // namespace common
