#pragma once

#include "evaluation/ranking/Season.h"

#include <QByteArray>

#include <string>

// The season's standings as Jahreswertung.csv, .pdf and .html: a row per
// author, a column per competition in the order given, then the total.
// Public like the ranking page: no judge is named.
namespace evaluation {

std::string seasonCsv(const Season& season);
std::string seasonHtml(const Season& season, const std::string& date);
QByteArray seasonPdf(const Season& season, const std::string& date); // needs a QGuiApplication

// The three files into `folder`, all or none; the failure text, "" when written.
std::string writeSeason(const std::string& folder, const Season& season);

} // namespace evaluation
