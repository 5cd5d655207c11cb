#pragma once

#include "evaluation/ranking/Season.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The terminal runs of --jahreswertung and --urkunden. Need a QGuiApplication.
namespace evaluation {

// "--plaetze N": a whole number from 1.
std::optional<int> placesWanted(const std::string& text);

// Reads the competitions, writes Jahreswertung.* into `outputFolder`,
// prints the standings to `out` and each folder left out to `err`. 0 when
// every folder counted and the files were written, else 1.
int evaluateSeason(const std::vector<std::string>& folders, const SeasonRule& rule,
                   const std::string& outputFolder, std::ostream& out, std::ostream& err);

// Writes "<folder name> Urkunden.pdf" beside the folder with the club's
// remembered name.
int printCertificates(const std::string& folder, int places, std::ostream& out, std::ostream& err);

} // namespace evaluation
