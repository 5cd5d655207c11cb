// libFuzzer target for the weighting file Qel.max: what the judging program
// and the preparation read from it, and the file the preparation writes
// back, which must read as the settings it was made from.

#include "core/Weighting.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Weighting weighting = parseWeighting(bytes);
    weighting.warning();
    weightingExplanation(bytes);
    if (weighting.outcome != Weighting::Outcome::Loaded)
        return 0;
    const CriterionSettings settings = settingsOf(weighting);
    const auto written = weightingFileBytes(settings, weightingExplanation(bytes));
    if (!written)
        return 0; // a text Windows-1252 cannot hold: the window says which
    // Windows-1252 bytes that happen to form UTF-8 read as UTF-8, as the
    // judging program shows them: descriptions are compared in plain ASCII.
    const bool ascii = std::all_of(written->begin(), written->end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const CriterionSettings again = settingsOf(parseWeighting(*written));
    for (std::size_t i = 0; i < settings.size(); ++i)
        if (again[i].maximum != settings[i].maximum ||
            (ascii && again[i].description != settings[i].description)) {
            std::fprintf(stderr, "fuzz_weighting: criterion %zu changed on the way back\n", i);
            std::abort();
        }
    return 0;
}
