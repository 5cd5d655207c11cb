#include "evaluation/ranking/Columns.h"

#include "evaluation/ranking/Texts.h"

#include <array>

namespace evaluation {

namespace {

enum class When { Always, WithEntrantList, WithoutEntrantList };

struct Kind {
    Shows shows;
    bool number;
    Align align;
    bool organiserOnly;
    When when;
    // The heading in each output, in the order of Output; nullptr: not
    // there. A judge's and a criterion's columns are named by their data.
    std::array<const char*, 5> headings;
};

constexpr const char* kNo = nullptr;
constexpr char kNamed[] = "";
constexpr bool kFigure = true, kText = false, kOrganiser = true, kPublic = false;
constexpr Align L = Align::Left, R = Align::Right;
constexpr When kAll = When::Always, kList = When::WithEntrantList,
               kNoList = When::WithoutEntrantList;

using namespace texts;
using S = Shows;

// clang-format off
constexpr Kind kColumns[] = {
    // shows           value  align who         when     terminal     CSV              PDF            page          window
    {S::Rank,          kText,   R, kPublic,    kAll,    {kRank,      kNo,             kRank,         kRank,        kRank}},
    {S::Place,         kFigure, R, kPublic,    kAll,    {kNo,        kRank,           kNo,           kNo,          kNo}},
    {S::Thumbnail,     kText,   L, kPublic,    kAll,    {kNo,        kNo,             kPicture,      kPicture,     kPicture}},
    {S::Title,         kText,   L, kPublic,    kAll,    {kPicture,   kNo,             kTitleHeading, kTitleHeading, kTitleHeading}},
    {S::FileName,      kText,   L, kPublic,    kNoList, {kNo,        kPicture,        kNo,           kNo,          kNo}},
    {S::FileName,      kText,   L, kPublic,    kList,   {kNo,        kEntrantFile,    kNo,           kNo,          kNo}},
    {S::EntrantTitle,  kText,   L, kPublic,    kList,   {kNo,        kTitleHeading,   kNo,           kNo,          kNo}},
    {S::Author,        kText,   L, kPublic,    kList,   {kNo,        kEntrantAuthor,  kNo,           kNo,          kNo}},
    {S::Judge,         kFigure, R, kOrganiser, kAll,    {kNamed,     kNamed,          kNamed,        kNo,          kNamed}},
    {S::Mean,          kFigure, R, kPublic,    kAll,    {kMeanShort, kMean,           kMeanShort,    kNo,          kMean}},
    {S::MeanOrWhy,     kFigure, R, kPublic,    kAll,    {kNo,        kNo,             kNo,           kMean,        kNo}},
    {S::Sum,           kFigure, R, kOrganiser, kAll,    {kNo,        kNo,             kNo,           kNo,          kSum}},
    {S::Spread,        kFigure, R, kOrganiser, kAll,    {kNo,        kSpread,         kNo,           kNo,          kSpread}},
    {S::Wirkung,       kFigure, R, kPublic,    kAll,    {kNo,        kWirkungMean,    kNo,           kWirkung,     kNo}},
    {S::Technik,       kFigure, R, kPublic,    kAll,    {kNo,        kTechnikMean,    kNo,           kTechnik,     kNo}},
    {S::Gestaltung,    kFigure, R, kPublic,    kAll,    {kNo,        kGestaltungMean, kNo,           kGestaltung,  kNo}},
    {S::CriterionMean, kFigure, R, kPublic,    kAll,    {kNo,        kNamed,          kNo,           kNo,          kNamed}},
    {S::Hint,          kText,   L, kOrganiser, kAll,    {kNo,        kHint,           kNo,           kNo,          kHint}},
};
// clang-format on

const std::string& at(const std::vector<std::string>& cells, std::size_t index)
{
    static const std::string none;
    return index < cells.size() ? cells[index] : none;
}

} // namespace

std::vector<Column> reportColumns(const Report& report, Output output)
{
    std::vector<Column> columns;
    for (const Kind& kind : kColumns) {
        const char* heading = kind.headings[std::size_t(output)];
        if (!heading || (kind.organiserOnly && output == Output::Page) ||
            (kind.when == When::WithEntrantList && !report.entrantList) ||
            (kind.when == When::WithoutEntrantList && report.entrantList))
            continue;
        const Column column{kind.shows, heading, kind.number, kind.align, kind.organiserOnly, 0};
        if (kind.shows == Shows::Judge || kind.shows == Shows::CriterionMean) {
            const bool judges = kind.shows == Shows::Judge;
            const std::size_t count = judges ? report.judges.size() : report.criteria.size();
            for (std::size_t i = 0; i < count; ++i) {
                columns.push_back(column);
                columns.back().heading =
                    judges ? report.judges[i] : criterionMean(report.criteria[i]);
                columns.back().of = i;
            }
        } else {
            columns.push_back(column);
        }
    }
    return columns;
}

std::string cellText(const ReportRow& row, const Column& column)
{
    switch (column.shows) {
    case Shows::Rank:
        return row.rank;
    case Shows::Place:
        return row.place ? std::to_string(row.place) : std::string();
    case Shows::Thumbnail:
    case Shows::Title:
        return row.title;
    case Shows::FileName:
        return row.fileName;
    case Shows::EntrantTitle:
        return row.entrantTitle;
    case Shows::Author:
        return row.author;
    case Shows::Judge:
        return at(row.judgeCells, column.of);
    case Shows::Mean:
        return row.mean;
    case Shows::MeanOrWhy:
        return row.excluded ? texts::kExcluded : row.unrated() ? texts::kNotRated : row.mean;
    case Shows::Sum:
        return row.sum;
    case Shows::Spread:
        return row.spread;
    case Shows::Wirkung:
        return row.wirkung;
    case Shows::Technik:
        return row.technik;
    case Shows::Gestaltung:
        return row.gestaltung;
    case Shows::CriterionMean:
        return at(row.criterionMeans, column.of);
    case Shows::Hint:
        return row.hint;
    }
    return {};
}

std::string shownCell(const ReportRow& row, const Column& column)
{
    std::string text = cellText(row, column);
    return column.number && text.empty() ? std::string(texts::kNoScore) : text;
}

} // namespace evaluation
