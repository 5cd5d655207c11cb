#include "evaluation/outputs/AuthorsOutputs.h"

#include "evaluation/outputs/Csv.h"
#include "evaluation/outputs/HtmlReport.h"
#include "evaluation/ranking/SeasonTexts.h"
#include "evaluation/ranking/Texts.h"

#include <vector>

namespace evaluation {

std::string authorsCsv(const Report& report)
{
    if (report.authors.empty() && report.ownPicturesNote.empty())
        return std::string();
    std::string out = "\r\n";
    appendCsvRow(out, {seasontexts::kAuthorsHeading});
    appendCsvRow(out, {texts::kRank, seasontexts::kAuthor, seasontexts::kPictures,
                       seasontexts::kSumOfMeans, seasontexts::kBestPicture});
    for (const AuthorRow& row : report.authors)
        appendCsvRow(out, {std::to_string(row.place), row.author, std::to_string(row.pictures),
                           row.sumText, row.bestText});
    if (!report.ownPicturesNote.empty())
        appendCsvRow(out, {report.ownPicturesNote});
    return out;
}

std::string authorsHtml(const Report& report)
{
    if (report.authors.empty() && report.ownPicturesNote.empty())
        return std::string();
    std::string out = "<section aria-labelledby=\"autoren\">\n<h2 id=\"autoren\">" +
                      htmlEscaped(seasontexts::kAuthorsHeading) +
                      "</h2>\n<table class=\"autoren\">\n<thead><tr>";
    const std::pair<const char*, bool> headings[] = {{texts::kRank, false},
                                                     {seasontexts::kAuthor, false},
                                                     {seasontexts::kPictures, true},
                                                     {seasontexts::kSumOfMeans, true},
                                                     {seasontexts::kBestPicture, true}};
    for (const auto& [heading, number] : headings)
        out += std::string("<th scope=\"col\"") + (number ? " class=\"zahl\"" : "") + ">" +
               htmlEscaped(heading) + "</th>";
    out += "</tr></thead>\n<tbody>\n";
    for (const AuthorRow& row : report.authors)
        out += "<tr><td>" + htmlEscaped(row.rank) + "</td><th scope=\"row\">" +
               htmlEscaped(row.author) + "</th><td class=\"zahl\">" + std::to_string(row.pictures) +
               "</td><td class=\"zahl\">" + htmlEscaped(row.sumText) + "</td><td class=\"zahl\">" +
               htmlEscaped(row.bestText) + "</td></tr>\n";
    out += "</tbody>\n</table>\n";
    if (!report.ownPicturesNote.empty())
        out += "<p>" + htmlEscaped(seasontexts::kOwnPicturesPublic) + "</p>\n";
    out += "<p class=\"regel\">" + htmlEscaped(seasontexts::kAuthorsRule) + "</p>\n</section>\n";
    return out;
}

} // namespace evaluation
