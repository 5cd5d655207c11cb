#pragma once

#include "evaluation/Ranking.h"

#include <QByteArray>
#include <QImage>

#include <string>
#include <vector>

namespace evaluation {

// Longer side of a thumbnail in pixels: about 200 dpi in its cell.
inline constexpr int kThumbnailSide = 240;

struct PdfHeading {
    std::string folderName; // readable
    std::string date;       // as printed, e.g. "07.12.2025"
};

// Rangliste.pdf: A4, a row per picture with rank, thumbnail, file name (and
// its hint), each judge's points, sum and mean; a last page with each
// judge's average, the ranking rule and every reported problem. A null
// thumbnail draws a placeholder cell. Needs a QGuiApplication.
QByteArray rankingPdf(const Evaluation& evaluation, const std::vector<RankedPicture>& rows,
                      const std::vector<QImage>& thumbnails, const PdfHeading& heading);

} // namespace evaluation
