#include "evaluation/outputs/SeasonRun.h"

#include "evaluation/outputs/Certificates.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/outputs/SeasonOutputs.h"
#include "evaluation/ranking/Names.h"
#include "evaluation/ranking/SeasonTexts.h"

#include <charconv>

namespace evaluation {

namespace {

// A name never acts on the terminal: each control character shows as "?".
std::string onTerminal(const std::string& text)
{
    return controlsReplaced(text, "?", true);
}

} // namespace

std::optional<int> placesWanted(const std::string& text)
{
    int places = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), places);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || places < 1)
        return std::nullopt;
    return places;
}

int evaluateSeason(const std::vector<std::string>& folders, const SeasonRule& rule,
                   const std::string& outputFolder, std::ostream& out, std::ostream& err)
{
    const Season season = readSeason(folders, rule);
    for (const std::string& problem : season.problems)
        err << onTerminal(problem) << "\n";
    if (season.competitions.empty()) {
        err << seasontexts::kNoCompetition << "\n";
        return kInputProblem;
    }
    const std::string failure = writeSeason(outputFolder, season);
    for (const SeasonRow& row : season.rows)
        out << row.rank << " " << onTerminal(row.author) << ": " << row.totalText << "\n";
    out << season.rule << ".\n";
    if (!failure.empty()) {
        err << onTerminal(failure) << "\n";
        return kInputProblem;
    }
    out << seasontexts::kSeasonWritten << "\n";
    return season.problems.empty() ? kDone : kInputProblem;
}

int printCertificates(const std::string& folder, int places, std::ostream& out, std::ostream& err)
{
    const CertificatesWritten written = writeCertificates(folder, clubName(), places);
    if (!written.failure.empty()) {
        err << onTerminal(written.failure) << "\n";
        return kInputProblem;
    }
    out << onTerminal(seasontexts::certificatesWritten(shownName(written.path), written.pages))
        << "\n";
    return kDone;
}

} // namespace evaluation
