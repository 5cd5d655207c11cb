#pragma once

#include "evaluation/ranking/Names.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <string>

// Text and fonts as every PDF of the organiser's program draws them.
namespace evaluation {

// A control character in a name is left out.
inline QString pdfText(const std::string& utf8)
{
    return QString::fromStdString(controlsReplaced(utf8, ""));
}

inline QFont pdfFont(double points, bool bold = false)
{
    QFont f;
    // Linux has DejaVu Sans, Windows has Arial; the hint covers any other.
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Arial")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    // No ligatures: the text reads back as typed ("fi", not U+FB01).
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

} // namespace evaluation
