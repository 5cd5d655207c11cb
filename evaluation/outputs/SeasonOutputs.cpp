#include "evaluation/outputs/SeasonOutputs.h"

#include "core/TextFile.h"
#include "evaluation/outputs/Csv.h"
#include "evaluation/outputs/HtmlReport.h"
#include "evaluation/outputs/PdfText.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/SeasonTexts.h"
#include "evaluation/ranking/Texts.h"

#include <QBuffer>
#include <QDate>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace evaluation {

namespace {

// The headings: Platz, Autor, each competition, Gesamt.
std::vector<std::string> headings(const Season& season)
{
    std::vector<std::string> cells{texts::kRank, seasontexts::kAuthor};
    cells.insert(cells.end(), season.competitions.begin(), season.competitions.end());
    cells.emplace_back(seasontexts::kTotal);
    return cells;
}

std::vector<std::string> cellsOf(const SeasonRow& row)
{
    std::vector<std::string> cells{row.rank, row.author};
    cells.insert(cells.end(), row.cells.begin(), row.cells.end());
    cells.push_back(row.totalText);
    return cells;
}

constexpr int kDpi = 300;
constexpr double kMargin = 12, kPageWidth = 297, kPageHeight = 210, kRowHeight = 6;

double px(double mm)
{
    return mm * kDpi / 25.4;
}

} // namespace

std::string seasonCsv(const Season& season)
{
    std::string out = "\xEF\xBB\xBF";
    appendCsvRow(out, headings(season));
    for (const SeasonRow& line : season.rows) {
        std::vector<std::string> cells = cellsOf(line);
        cells[0] = std::to_string(line.place);
        appendCsvRow(out, cells);
    }
    return out;
}

std::string seasonHtml(const Season& season, const std::string& date)
{
    const std::string title = seasontexts::kSeasonTitle;
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
        htmlEscaped(title) +
        "</title>\n<style>body{margin:0 auto;padding:1rem;max-width:78rem;"
        "font:16px/1.4 \"DejaVu Sans\",Arial,sans-serif}table{border-collapse:collapse;"
        "width:100%}th,td{padding:.35rem .5rem;border-bottom:1px solid #bbb;text-align:left}"
        ".zahl{text-align:right;white-space:nowrap}.tabelle{overflow-x:auto}</style>\n"
        "</head>\n<body>\n<h1>" +
        htmlEscaped(title) + "</h1>\n<p>" + htmlEscaped(date) +
        "</p>\n<div class=\"tabelle\">\n<table class=\"jahreswertung\">\n<thead><tr>";
    const std::vector<std::string> heads = headings(season);
    for (std::size_t i = 0; i < heads.size(); ++i)
        out += std::string("<th scope=\"col\"") + (i > 1 ? " class=\"zahl\"" : "") + ">" +
               htmlEscaped(heads[i]) + "</th>";
    out += "</tr></thead>\n<tbody>\n";
    for (const SeasonRow& row : season.rows) {
        const std::vector<std::string> cells = cellsOf(row);
        out += "<tr><td>" + htmlEscaped(cells[0]) + "</td><th scope=\"row\">" +
               htmlEscaped(cells[1]) + "</th>";
        for (std::size_t i = 2; i < cells.size(); ++i)
            out += "<td class=\"zahl\">" +
                   htmlEscaped(cells[i].empty() ? texts::kNoScore : cells[i]) + "</td>";
        out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n</div>\n<p>" + htmlEscaped(season.rule) + ". " +
           htmlEscaped(seasontexts::kSeasonTies) + "</p>\n</body>\n</html>\n";
    return out;
}

QByteArray seasonPdf(const Season& season, const std::string& date)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(kDpi);
    writer.setTitle(pdfText(seasontexts::kSeasonTitle));
    writer.setCreator(QString::fromLatin1(texts::kProgram));
    QPainter painter(&writer);
    QFont font;
    const auto setFont = [&](double points, bool bold) {
        font = pdfFont(points, bold);
        painter.setFont(font);
    };
    // Rank and author wide; the competitions share what is left, then the total.
    const double content = kPageWidth - 2 * kMargin, rankWidth = 12, authorWidth = 55;
    const std::size_t numbers = season.competitions.size() + 1;
    const double numberWidth =
        std::min(30.0, (content - rankWidth - authorWidth) / double(numbers));
    const auto drawRow = [&](const std::vector<std::string>& cells, double y) {
        double x = kMargin;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const double width = i == 0 ? rankWidth : i == 1 ? authorWidth : numberWidth;
            const QRectF cell(px(x), px(y), px(width - 1), px(kRowHeight));
            const QString text = pdfText(i > 1 && cells[i].empty() ? texts::kNoScore : cells[i]);
            painter.drawText(
                cell, static_cast<int>((i > 1 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter),
                QFontMetricsF(font, &writer).elidedText(text, Qt::ElideRight, cell.width()));
            x += width;
        }
    };
    double y = kMargin;
    setFont(16, true);
    painter.drawText(QRectF(px(kMargin), px(y), px(content), px(10)), Qt::AlignLeft,
                     pdfText(seasontexts::kSeasonTitle) + QStringLiteral(" · ") + pdfText(date));
    y += 14;
    const auto heading = [&] {
        setFont(8.5, true);
        drawRow(headings(season), y);
        y += kRowHeight + 1;
        setFont(8.5, false);
    };
    heading();
    for (const SeasonRow& row : season.rows) {
        if (y + kRowHeight > kPageHeight - kMargin - 12) {
            writer.newPage();
            y = kMargin;
            heading();
        }
        drawRow(cellsOf(row), y);
        y += kRowHeight;
    }
    setFont(8.5, false);
    painter.drawText(QRectF(px(kMargin), px(y + 3), px(content), px(10)),
                     Qt::AlignLeft | Qt::TextWordWrap,
                     pdfText(season.rule + ". " + seasontexts::kSeasonTies));
    painter.end();
    return bytes;
}

std::string writeSeason(const std::string& folder, const Season& season)
{
    const std::string date =
        QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    const std::string csv = seasonCsv(season), html = seasonHtml(season, date);
    const QByteArray pdf = seasonPdf(season, date);
    const std::vector<textfile::FileContents> files{
        {pathIn(folder, seasontexts::kSeasonCsv), csv},
        {pathIn(folder, seasontexts::kSeasonPdf), {pdf.constData(), std::size_t(pdf.size())}},
        {pathIn(folder, seasontexts::kSeasonHtml), html}};
    if (const auto failed = textfile::writeAllAtomically(files))
        return texts::cannotWrite(shownName(files[*failed].path));
    return std::string();
}

} // namespace evaluation
