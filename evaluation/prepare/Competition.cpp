#include "evaluation/prepare/Competition.h"

#include "evaluation/outputs/Csv.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Texts.h"
#include "pictures/AnonymousJpeg.h"

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

CriterionSettings criteriaFor(const std::string& entriesFolder, const std::string& templateFile,
                              std::string& from)
{
    from = entriesFolder.empty() ? std::string() : pathIn(entriesFolder, kWeightingFileName);
    Weighting weighting = from.empty() ? Weighting{} : readWeighting(from);
    if (weighting.outcome != Weighting::Outcome::Loaded) {
        from = templateFile;
        weighting = readWeighting(from);
    }
    return settingsOf(weighting);
}

std::vector<std::string> competitionExplanation(const CriterionSettings& criteria)
{
    std::vector<std::string> lines{
        "",
        "Ab hier liest das Programm nichts mehr: Nur die ersten 15 Zeilen zählen.",
        "",
        "So ist die Datei aufgebaut (eine Zeile je Kriterium):",
        "  Zeile 1 bis 5:   Gruppe Wirkung    (W1 bis W5)",
        "  Zeile 6 bis 10:  Gruppe Technik    (T1 bis T5)",
        "  Zeile 11 bis 15: Gruppe Gestaltung (B1 bis B5)",
        "Zeichen 1 ist die Höchstpunktzahl des Kriteriums, eine Ziffer von 0 bis 9.",
        "Zeichen 2 trennt; üblich ist ein Leerzeichen.",
        "Ab Zeichen 3 folgt die Beschriftung, wie sie neben dem Schieberegler steht.",
        "Eine Zeile ohne Beschriftung (nur \"0 \") blendet das Kriterium aus; eine",
        "Höchstpunktzahl darin zählt trotzdem zur Summe der Gruppe.",
        "Ein \"&\" in der Beschriftung wird als \"&&\" geschrieben (ein einzelnes \"&\"",
        "unterstreicht den folgenden Buchstaben).",
        "",
        "Die Kriterien dieses Wettbewerbs (Höchstpunkte in Klammern):"};
    const char* const groups[] = {texts::kWirkung, texts::kTechnik, texts::kGestaltung};
    std::string sums;
    int total = 0;
    for (int group = 0; group < 3; ++group) {
        std::string shown;
        int sum = 0, hidden = 0;
        for (int i = 0; i < kCriteriaPerGroup; ++i) {
            const CriterionSetting& criterion =
                criteria[static_cast<std::size_t>(group) * kCriteriaPerGroup +
                         static_cast<std::size_t>(i)];
            sum += criterion.maximum;
            if (criterion.description.empty())
                hidden += criterion.maximum;
            else
                shown += (shown.empty() ? "" : ", ") + criterion.description + " (" +
                         std::to_string(criterion.maximum) + ")";
        }
        std::string line = std::string("  ") + groups[group] + ": " +
                           (shown.empty() ? std::string("kein Kriterium sichtbar") : shown);
        if (hidden > 0)
            line += "; ausgeblendet, aber mitgezählt: " + std::to_string(hidden);
        lines.push_back(line);
        sums += (group ? " + " : "") + std::to_string(sum);
        total += sum;
    }
    lines.push_back("Die Höchstpunktzahl ist " + sums + " = " + std::to_string(total) + " Punkte.");
    return lines;
}

std::optional<newfolder::Plan> competitionPlan(const Competition& competition, std::mt19937& random,
                                               int* badCriterion)
{
    std::optional<std::string> weighting = weightingFileBytes(
        competition.criteria, competitionExplanation(competition.criteria), badCriterion);
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
    const newfolder::Rewrite anonymous = [](std::string_view jpeg) {
        return pictures::withoutAuthor(jpeg);
    };
    for (std::size_t i = 0; i < taken.size(); ++i)
        plan.copies.push_back(
            {taken[i]->source, names[i], competition.anonymous ? anonymous : newfolder::Rewrite()});
    plan.copies.push_back({competition.guide, kGuideFileName});
    plan.files.push_back({kWeightingFileName, std::move(*weighting)});
    plan.beside.push_back({entrantListPath(competition), entrantList(names, taken)});
    return plan;
}

} // namespace evaluation
