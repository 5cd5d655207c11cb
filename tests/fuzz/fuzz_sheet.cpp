// libFuzzer target for a judge's rating file as the evaluation reads it:
// the lines split as the judging program splits them, matched to a folder's
// pictures and scored. Every problem names a line of the file.

#include "core/TextFile.h"
#include "evaluation/ranking/Evaluation.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<std::string> pictures{"a.jpg", "B.JPG", "\xc3\x84hre.jpg",
                                                   "Stra\xdf"
                                                   "e.jpg",
                                                   "01.jpeg"};
    evaluation::Maxima maxima{};
    for (std::size_t i = 0; i < maxima.size(); ++i)
        maxima[i] = int(i % 10);
    const rating::Sheet lines =
        textfile::splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<evaluation::Problem> problems;
    const evaluation::Judge judge =
        evaluation::matchJudge("Bewerter", lines, pictures, maxima, problems);
    if (judge.scores.size() != pictures.size())
        std::abort();
    for (const evaluation::Problem& problem : problems)
        if (problem.line > lines.size() || problem.text.empty()) {
            std::fprintf(stderr, "fuzz_sheet: a problem names line %zu of %zu\n", problem.line,
                         lines.size());
            std::abort();
        }
    return 0;
}
