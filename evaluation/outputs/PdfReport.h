#pragma once

#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Report.h"

#include <QByteArray>

#include <string>
#include <vector>

namespace evaluation {

// Rangliste.pdf: A4; the public part first: the title, the provisional note
// when it applies, a row per picture (the report's columns for the PDF:
// rank, thumbnail, title and its hint, each judge's points and the mean;
// never a page with a single row), each judge's average and the ranking
// rule; then, only when there are any, the problems on a page of their own
// ("Hinweise für die Auswertung").
// thumbnails[i] belongs to picture i in file order, its printJpeg taken as
// it is; a null or missing one draws a placeholder cell. Needs a
// QGuiApplication.
QByteArray rankingPdf(const Report& report, const std::vector<const Thumbnail*>& thumbnails,
                      const Heading& heading);

} // namespace evaluation
