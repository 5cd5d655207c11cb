#include "evaluation/prepare/Competition.h"

#include "evaluation/outputs/Csv.h"
#include "evaluation/ranking/Folder.h"

#include <algorithm>
#include <numeric>

namespace evaluation {

std::string competitionFolder(const Competition& competition)
{
    return pathIn(competition.place, competition.name);
}

std::string entrantListPath(const Competition& competition)
{
    return pathIn(competition.place, competition.name + kEntrantListSuffix);
}

std::string entrantList(const std::vector<std::string>& names,
                        const std::vector<const Entry*>& entries)
{
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
    std::string list = "\xEF\xBB\xBF"
                       "Datei;Titel;Autor\r\n";
    for (const std::size_t i : order)
        list += csvField(names[i]) + ";" + csvField(entries[i]->title) + ";" +
                csvField(entries[i]->author) + "\r\n";
    return list;
}

std::optional<newfolder::Plan> competitionPlan(const Competition& competition, std::mt19937& random,
                                               int* badCriterion)
{
    std::optional<std::string> weighting =
        weightingFileBytes(competition.criteria, competition.explanation, badCriterion);
    if (!weighting)
        return std::nullopt;
    std::vector<const Entry*> taken;
    std::vector<std::string> titles;
    for (const Entry& entry : competition.entries)
        if (entry.included) {
            taken.push_back(&entry);
            titles.push_back(entry.title);
        }
    const std::vector<std::string> names = competitionNames(titles, competition.anonymous, random);

    newfolder::Plan plan;
    plan.folder = competitionFolder(competition);
    for (std::size_t i = 0; i < taken.size(); ++i)
        plan.copies.push_back({taken[i]->source, names[i]});
    plan.copies.push_back({competition.guide, kGuideFileName});
    plan.files.push_back({kWeightingFileName, std::move(*weighting)});
    plan.beside.push_back({entrantListPath(competition), entrantList(names, taken)});
    return plan;
}

} // namespace evaluation
