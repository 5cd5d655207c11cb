#include "evaluation/prepare/PrepareRun.h"

#include "common/CaptionRoom.h"
#include "core/Criteria.h"
#include "core/Platform.h"
#include "evaluation/outputs/Run.h"
#include "evaluation/prepare/Competition.h"
#include "evaluation/prepare/EntryCheck.h"
#include "evaluation/prepare/PrepareTexts.h"
#include "evaluation/ranking/Folder.h"
#include "evaluation/ranking/Names.h"

#include <algorithm>

namespace evaluation {

namespace {

// A name as a terminal may show it.
std::string shown(const std::string& path)
{
    return controlsReplaced(shownName(path), "?");
}

// `text` with its "%1" .. "%4" replaced in turn.
std::string filled(std::string text, std::initializer_list<std::string> arguments)
{
    int n = 0;
    for (const std::string& argument : arguments) {
        const std::string mark = "%" + std::to_string(++n);
        if (const std::size_t at = text.find(mark); at != std::string::npos)
            text.replace(at, mark.size(), argument);
    }
    return text;
}

const char* problemText(Entry::Problem problem)
{
    switch (problem) {
    case Entry::Problem::Unreadable:
        return preparetexts::kUnreadable;
    case Entry::Problem::NotJpeg:
        return preparetexts::kNotJpeg;
    case Entry::Problem::Damaged:
    case Entry::Problem::Unchecked:
        return preparetexts::kDamaged;
    case Entry::Problem::None:
        break;
    }
    return "";
}

// The folder's name and where it goes, from the path given.
bool splitTarget(std::string target, Competition& competition)
{
    while (target.size() > 1 && platform::isSeparator(target.back()))
        target.pop_back();
    std::size_t start = target.size();
    while (start > 0 && !platform::isSeparator(target[start - 1]))
        --start;
    competition.name = target.substr(start);
    competition.place =
        platform::absolutePath(start == 0 ? std::string(".") : target.substr(0, start));
    return !competition.name.empty() && competition.name != "." && competition.name != ".." &&
           safeName(competition.name) == competition.name;
}

} // namespace

const char* writingFailureText(newfolder::Outcome outcome)
{
    using newfolder::Outcome;
    switch (outcome) {
    case Outcome::FolderNotEmpty:
        return preparetexts::kFolderNotEmpty;
    case Outcome::FileExists:
        return preparetexts::kFileExists;
    case Outcome::SourceUnreadable:
        return preparetexts::kSourceUnreadable;
    case Outcome::SourceChanged:
        return preparetexts::kSourceChanged;
    case Outcome::SourceRefused:
        return preparetexts::kSourceRefused;
    case Outcome::DiskFull:
        return preparetexts::kDiskFull;
    case Outcome::ReadOnly:
        return preparetexts::kReadOnly;
    case Outcome::Cancelled:
        return preparetexts::kCancelled;
    case Outcome::WriteFailed:
    case Outcome::Written:
        break;
    }
    return preparetexts::kWriteFailed;
}

int prepareOnTerminal(const PrepareRequest& request, std::ostream& out, std::ostream& err)
{
    const auto stop = [&](const std::string& message) {
        err << controlsReplaced(message, "?", true) << "\n";
        return kInputProblem;
    };
    if (!isDirectory(request.entries))
        return stop(filled(preparetexts::kNoEntriesFolderGiven, {shown(request.entries)}));
    Competition competition;
    if (!splitTarget(request.target, competition))
        return stop(filled(preparetexts::kBadName, {shown(competition.name)}));
    competition.anonymous = request.anonymous;
    competition.guide = request.guide;
    std::string from;
    competition.criteria = criteriaFor(request.entries, request.templateFile, from);

    competition.entries = listEntries(request.entries);
    // Where the member's folder confirms it, the name carries author and title.
    for (const NameSplit split : {NameSplit::AuthorDashTitle, NameSplit::TitleUnderscoreAuthor})
        splitNames(competition.entries, split, true);
    checkEntries(competition.entries);
    std::vector<std::string> titles;
    for (Entry& entry : competition.entries) {
        entry.included = entry.problem == Entry::Problem::None;
        if (entry.included)
            titles.push_back(entry.title);
        else
            err << controlsReplaced(entry.relative, "?") << ": " << problemText(entry.problem)
                << "\n";
    }
    if (titles.empty())
        return stop(preparetexts::kNoEntries);
    if (!competition.anonymous) {
        std::string same;
        std::vector<const Entry*> taken;
        for (const Entry& entry : competition.entries)
            if (entry.included)
                taken.push_back(&entry);
        for (const std::size_t i : clashingTitles(titles))
            same += (same.empty() ? "" : "\n") + taken[i]->relative + " – " + taken[i]->title;
        if (!same.empty())
            return stop(filled(preparetexts::kSameTitlesTerminal, {same}));
    }
    std::string tooLong;
    for (int n = 0; n < kCriterionCount; ++n) {
        const CriterionSetting& criterion = competition.criteria[static_cast<std::size_t>(n)];
        if (criterion.maximum > 0 && !criterion.description.empty() &&
            !common::captionFits(QString::fromStdString(" " + criterion.description)))
            tooLong += (tooLong.empty() ? "" : ", ") + layoutCaption(n).substr(1);
    }
    if (!tooLong.empty())
        err << filled(preparetexts::kTooLongOnTerminal, {tooLong}) << "\n";
    if (!platform::status(competition.guide))
        return stop(filled(preparetexts::kNoTemplate, {shown(competition.guide)}));

    std::mt19937 random{std::random_device{}()};
    int badCriterion = 0;
    const std::optional<newfolder::Plan> plan = competitionPlan(competition, random, &badCriterion);
    if (!plan)
        return stop(filled(preparetexts::kUnwritable,
                           {badCriterion < 0 ? std::string(kWeightingFileName)
                                             : layoutCaption(badCriterion).substr(1)}));
    const newfolder::Result result = newfolder::write(*plan);
    if (result.outcome != newfolder::Outcome::Written)
        return stop(filled(writingFailureText(result.outcome), {shown(result.path)}));
    out << filled(preparetexts::kDone,
                  {std::to_string(titles.size()), shown(competitionFolder(competition)),
                   shown(entrantListPath(competition)), shown(competition.name)})
        << "\n"
        << filled(preparetexts::kCriteriaFromTerminal, {shown(from)}) << "\n";
    return kDone;
}

} // namespace evaluation
