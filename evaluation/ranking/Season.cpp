#include "evaluation/ranking/Season.h"

#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/Ranking.h"
#include "evaluation/ranking/Report.h"
#include "evaluation/ranking/SeasonTexts.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace evaluation {

namespace {

std::optional<int> number(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

struct Standing {
    SeasonRow row;
    std::vector<Points> added;   // per competition
    std::vector<bool> takenPart; // per competition
};

// The N best means of each author, each counted in its own competition.
void addBest(std::map<std::string, Standing>& standings,
             const std::vector<SeasonCompetition>& competitions, int count)
{
    std::map<std::string, std::vector<std::pair<Points, std::size_t>>> means;
    for (std::size_t c = 0; c < competitions.size(); ++c)
        for (const AuthorPicture& picture : competitions[c].pictures)
            means[authorKey(picture.author)].emplace_back(picture.mean, c);
    for (auto& [key, list] : means) {
        const auto standing = standings.find(key);
        if (standing == standings.end())
            continue; // no author
        std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
            return compare(a.first, b.first) > 0;
        });
        for (std::size_t i = 0; i < list.size() && i < std::size_t(count); ++i) {
            Points& added = standing->second.added[list[i].second];
            added = added + list[i].first;
        }
    }
}

} // namespace

std::optional<SeasonRule> parseSeasonRule(const std::string& text)
{
    SeasonRule rule;
    if (text.empty() || text == "summe")
        return rule;
    if (text.starts_with("beste:")) {
        const auto count = number(std::string_view(text).substr(6));
        if (!count || *count < 1)
            return std::nullopt;
        rule.kind = SeasonRule::Kind::Best;
        rule.best = *count;
        return rule;
    }
    if (!text.starts_with("plaetze:"))
        return std::nullopt;
    rule.kind = SeasonRule::Kind::Places;
    std::string_view list = std::string_view(text).substr(8);
    if (const auto plus = list.find('+'); plus != std::string_view::npos) {
        const auto extra = number(list.substr(plus + 1));
        if (!extra)
            return std::nullopt;
        rule.perCompetition = *extra;
        list = list.substr(0, plus);
    }
    for (std::size_t start = 0;;) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const auto points = number(list.substr(start, comma - start));
        if (!points)
            return std::nullopt;
        rule.points.push_back(*points);
        if (comma == list.size())
            return rule;
        start = comma + 1;
    }
}

std::string ruleText(const SeasonRule& rule)
{
    switch (rule.kind) {
    case SeasonRule::Kind::Best:
        return seasontexts::ruleBest(rule.best);
    case SeasonRule::Kind::Places: {
        std::string points;
        for (const int p : rule.points)
            points += (points.empty() ? "" : ", ") + std::to_string(p);
        return seasontexts::rulePlaces(points, rule.perCompetition);
    }
    case SeasonRule::Kind::Sum:
        break;
    }
    return seasontexts::kRuleSum;
}

Season rankSeason(const std::vector<SeasonCompetition>& competitions, const SeasonRule& rule)
{
    Season season;
    season.rule = ruleText(rule);
    const std::size_t count = competitions.size();
    std::map<std::string, Standing> standings;
    std::vector<std::string> order; // keys as first met
    for (std::size_t c = 0; c < count; ++c) {
        season.competitions.push_back(competitions[c].name);
        for (const AuthorRow& author : competitions[c].authors) {
            auto [at, added] = standings.try_emplace(author.key);
            Standing& standing = at->second;
            if (added) {
                standing.row.author = author.author;
                standing.added.resize(count);
                standing.takenPart.resize(count, false);
                order.push_back(author.key);
            }
            standing.takenPart[c] = true;
            if (rule.kind == SeasonRule::Kind::Sum)
                standing.added[c] = author.sum;
            else if (rule.kind == SeasonRule::Kind::Places)
                standing.added[c] = {(std::size_t(author.place) <= rule.points.size()
                                          ? rule.points[std::size_t(author.place) - 1]
                                          : 0) +
                                         rule.perCompetition,
                                     1};
        }
    }
    if (rule.kind == SeasonRule::Kind::Best)
        addBest(standings, competitions, rule.best);

    for (const std::string& key : order) {
        Standing& standing = standings[key];
        for (std::size_t c = 0; c < count; ++c) {
            standing.row.total = standing.row.total + standing.added[c];
            standing.row.cells.push_back(!standing.takenPart[c] ? std::string()
                                         : rule.kind == SeasonRule::Kind::Places
                                             ? std::to_string(standing.added[c].numerator)
                                             : pointsText(standing.added[c]));
        }
        standing.row.totalText = rule.kind == SeasonRule::Kind::Places
                                     ? std::to_string(standing.row.total.numerator)
                                     : pointsText(standing.row.total);
        season.rows.push_back(std::move(standing.row));
    }
    std::stable_sort(
        season.rows.begin(), season.rows.end(),
        [](const SeasonRow& a, const SeasonRow& b) { return compare(a.total, b.total) > 0; });
    for (std::size_t i = 0; i < season.rows.size(); ++i) {
        SeasonRow& row = season.rows[i];
        row.place = i > 0 && compare(season.rows[i - 1].total, row.total) == 0
                        ? season.rows[i - 1].place
                        : int(i) + 1;
        row.rank = rankText(row.place);
    }
    return season;
}

Season readSeason(const std::vector<std::string>& folders, const SeasonRule& rule)
{
    std::vector<SeasonCompetition> competitions;
    std::vector<std::string> problems;
    for (const std::string& folder : folders) {
        const auto own = folderOwnName(folder);
        const std::string name = shownName(own ? *own : folder);
        const FolderResult result = evaluateFolder(folder);
        if (!result.stop.empty()) {
            problems.push_back(seasontexts::cannotEvaluate(name, result.stop));
            continue;
        }
        const Report report = buildReport(result.evaluation);
        if (!report.entrantList) {
            problems.push_back(seasontexts::noEntrantList(name));
            continue;
        }
        if (report.provisional()) {
            problems.push_back(seasontexts::stillProvisional(name));
            continue;
        }
        SeasonCompetition competition{name, {}, report.authors};
        for (const ReportRow& row : report.rows)
            if (!row.unrated())
                competition.pictures.push_back({row.author, row.meanPoints, row.place});
        competitions.push_back(std::move(competition));
    }
    Season season = rankSeason(competitions, rule);
    season.problems = std::move(problems);
    return season;
}

} // namespace evaluation
