#pragma once

#include <string>
#include <string_view>

namespace evaluation {

// How a name from the disk (a picture, a rating file and so a judge, the
// folder) is shown in every output: the core's displayText, the rule of all
// three programs (common::displayFileName shows by it too), so the ranking
// and the judging program's panel show a name alike.
std::string shownName(std::string_view bytes);

// Readable text with its control characters (below U+0020, U+007F to
// U+009F) and its invisible and direction controls (U+061C, U+200B to
// U+200F, U+202A to U+202E, U+2060 to U+2069, U+FEFF) each replaced by
// `replacement`: "?" on a terminal, nothing in the CSV, page and PDF, so no
// name acts there as a command or reorders what a reader sees. Line breaks are
// kept where the output's own lines need them.
std::string controlsReplaced(std::string_view utf8, std::string_view replacement,
                             bool keepLineBreaks = false);

// Readable text as a problem quotes it when it names nothing of the folder
// (it may be any line of any file): at most tunables::kQuotedCharacters
// characters, the last one "…" when it was longer.
std::string quotedName(std::string_view text);

} // namespace evaluation
