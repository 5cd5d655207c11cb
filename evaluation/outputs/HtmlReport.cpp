#include "evaluation/outputs/HtmlReport.h"

#include "evaluation/Tunables.h"
#include "evaluation/outputs/AuthorsOutputs.h"
#include "evaluation/ranking/Columns.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Texts.h"

#include <QByteArray>

namespace evaluation {

namespace {

// Phones get a card per picture below this width; wider screens and print
// get the table.
constexpr char kStyle[] = R"(
*{box-sizing:border-box}
body{margin:0 auto;padding:1rem;max-width:78rem;font:16px/1.4 "DejaVu Sans",Arial,sans-serif;
color:#111;background:#fff;overflow-wrap:break-word}
h1{font-size:1.6rem;margin:0 0 .3rem}
h2{font-size:1.2rem;margin:1.5rem 0 .5rem}
.untertitel{margin:0 0 1rem;color:#444}
.vorlaeufig{border:2px solid #b35c00;background:#fce6cf;padding:.6rem 1rem;margin:0 0 1rem}
.vorlaeufig h2{margin:0 0 .3rem;font-size:1.05rem}
.vorlaeufig ul{margin:0;padding-left:1.2rem}
.endgueltig{border:2px solid #3a6b2f;background:#e4efe0;padding:.6rem 1rem;margin:0 0 1rem}
.endgueltig h2{margin:0 0 .3rem;font-size:1.05rem}
.endgueltig ul{margin:0;padding-left:1.2rem}
table{border-collapse:collapse;width:100%}
caption{text-align:left;font-weight:bold;padding:.3rem 0}
th,td{padding:.35rem .5rem;border-bottom:1px solid #bbb;vertical-align:top;text-align:left}
thead th{border-bottom:2px solid #111;vertical-align:bottom;white-space:normal}
.zahl{text-align:right}
td.zahl{white-space:nowrap}
.rangliste tbody th{min-width:8em;overflow-wrap:anywhere}
.rangliste img{display:block;width:auto;height:auto;max-width:9rem;max-height:6rem}
.rangliste tbody th{font-weight:normal}
.kein-bild{color:#777}
.regel{color:#444;font-size:.9em}
@media (max-width:40rem){
 .rangliste thead,.rangliste thead tr{display:block}
 .rangliste thead{position:absolute;width:1px;height:1px;overflow:hidden;clip:rect(0 0 0 0)}
 .rangliste,.rangliste tbody,.rangliste caption{display:block}
 .rangliste img{max-width:100%;max-height:15rem}
 .rangliste tr{display:flex;flex-wrap:wrap;gap:.2rem 1rem;padding:.6rem 0;border-bottom:1px solid #bbb}
 .rangliste td,.rangliste tbody th{display:block;border:0;padding:0;white-space:normal}
 .rangliste td.platz{font-weight:bold;font-size:1.2rem}
 .rangliste tbody th{flex:1 1 60%;min-width:0;font-size:1.1rem;font-weight:bold}
 .rangliste td.bild{flex:1 1 100%;order:-1}
 .rangliste td[data-spalte]::before{content:attr(data-spalte) ": ";color:#555}
 .rangliste td.leer{display:none}
}
@page{size:A4 landscape;margin:12mm}
@media print{
 body{max-width:none;padding:0;font-size:9pt}
 .rangliste img{max-width:6em;max-height:4em}
 tr{break-inside:avoid}
 thead{display:table-header-group}
 .vorlaeufig,.endgueltig{-webkit-print-color-adjust:exact;print-color-adjust:exact}
}
)";

std::string escaped(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : controlsReplaced(text, "")) { // no control character on the page
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The thumbnail as a data: URI, from the JPEG encoded when it was read.
std::string dataUri(const std::string& jpeg)
{
    return "data:image/jpeg;base64," +
           QByteArray::fromRawData(jpeg.data(), qsizetype(jpeg.size())).toBase64().toStdString();
}

// The provisional note names pictures only, never a judge; a final
// ranking lists instead each picture short of judges and each excluded one.
void appendNote(std::string& out, const Report& report)
{
    if (!report.provisional() && !report.isFinal())
        return;
    const std::vector<std::string>& pictures =
        report.isFinal() ? report.finalLines : report.picturesShort;
    const char* kind = report.isFinal() ? "endgueltig" : "vorlaeufig";
    out += std::string("<section class=\"") + kind + "\" aria-labelledby=\"" + kind +
           "\">\n<h2 id=\"" + kind + "\">" +
           escaped(report.isFinal() ? texts::finalHeading(report.finalDate)
                                    : std::string(texts::kProvisionalPublic)) +
           "</h2>\n";
    if (pictures.empty()) {
        out += "</section>\n";
        return;
    }
    out += "<ul>\n";
    // A long list folds away after the first few, without a script.
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (i == tunables::kNoteItems)
            out += "</ul>\n<details><summary>" +
                   escaped(texts::moreOnThePage(pictures.size() - tunables::kNoteItems)) +
                   "</summary>\n<ul>\n";
        out += "<li>" + escaped(pictures[i]) + "</li>\n";
    }
    out += pictures.size() > tunables::kNoteItems ? "</ul>\n</details>\n" : "</ul>\n";
    out += "</section>\n";
}

// A card on a phone: the place in large, the picture on top, the title as
// the row's header; the figures each with their column's name.
void appendCell(std::string& out, const ReportRow& row, const Column& column,
                const std::vector<const Thumbnail*>& thumbnails)
{
    switch (column.shows) {
    case Shows::Rank:
        out += std::string("<td class=\"platz") + (row.unrated() ? " leer" : "") + "\">" +
               escaped(row.rank) + "</td>";
        return;
    case Shows::Thumbnail: {
        out += "<td class=\"bild\">";
        const Thumbnail* image =
            row.picture < thumbnails.size() ? thumbnails[row.picture] : nullptr;
        if (!image || image->pageJpeg.empty())
            out += "<span class=\"kein-bild\">" + escaped(texts::kNoPicture) + "</span>";
        else
            out += "<img src=\"" + dataUri(image->pageJpeg) + "\" alt=\"" + escaped(row.title) +
                   "\" width=\"" + std::to_string(image->width) + "\" height=\"" +
                   std::to_string(image->height) + "\">";
        out += "</td>";
        return;
    }
    case Shows::Title:
        out += "<th scope=\"row\">" + escaped(row.title) + "</th>";
        return;
    default:
        out += std::string("<td") + (column.number ? " class=\"zahl\"" : "") + " data-spalte=\"" +
               escaped(column.heading) + "\">" + escaped(shownCell(row, column)) + "</td>";
    }
}

void appendRanking(std::string& out, const Report& report,
                   const std::vector<const Thumbnail*>& thumbnails)
{
    out += "<table class=\"rangliste\">\n<caption>" + escaped(texts::kRankingCaption) +
           "</caption>\n<thead><tr>";
    // Public columns only: the page names no judge.
    const std::vector<Column> columns = reportColumns(report, Output::Page);
    for (const Column& column : columns)
        out += std::string("<th scope=\"col\"") + (column.number ? " class=\"zahl\"" : "") + ">" +
               escaped(column.heading) + "</th>";
    out += "</tr></thead>\n<tbody>\n";
    // Reserved once: grown by doubling it would hold up to twice the
    // thumbnails' bytes, for every picture of the competition.
    std::size_t size = out.size();
    for (const ReportRow& row : report.rows) {
        const Thumbnail* image =
            row.picture < thumbnails.size() ? thumbnails[row.picture] : nullptr;
        size += (image ? image->pageJpeg.size() / 3 * 4 + 4 : 0) + 512 + 2 * row.title.size();
    }
    out.reserve(size);
    for (const ReportRow& row : report.rows) {
        out += "<tr>";
        for (const Column& column : columns)
            appendCell(out, row, column, thumbnails);
        out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n<p class=\"regel\">" + escaped(texts::kRankingRule) + "</p>\n";
}

} // namespace

std::string htmlEscaped(const std::string& text)
{
    return escaped(text);
}

std::string rankingHtml(const Report& report, const std::vector<const Thumbnail*>& thumbnails,
                        const Heading& heading)
{
    const std::string title = texts::kTitle + heading.folderName;
    std::string out = "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                      "<title>" +
                      escaped(title) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
    out += "<h1>" + escaped(title) + "</h1>\n<p class=\"untertitel\">" +
           escaped(texts::subtitle(heading.date, report.pictureCount, report.judges.size(),
                                   report.maxTotal)) +
           "</p>\n";
    appendNote(out, report);
    appendRanking(out, report, thumbnails);
    out += authorsHtml(report);
    out += "</body>\n</html>\n";
    return out;
}

} // namespace evaluation
