#pragma once

#include "evaluation/ranking/Evaluation.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The entrant list: who sent which picture under which title. Made by the
// preparation (`<Wettbewerbsname> Teilnehmer.csv` beside the folder) or by
// hand in a spreadsheet (`Teilnehmer.csv` in the folder). Plain C++.
namespace evaluation {

inline constexpr char kEntrantListName[] = "Teilnehmer.csv";

// One row of the list, its cells as readable UTF-8 text.
struct EntrantRow {
    std::size_t line = 0; // where the row starts, from 1
    std::string file;
    Entrant entrant;
};

struct EntrantList {
    std::vector<EntrantRow> rows;
    bool usable = false; // a header with a column "Datei" was found
};

// The list's bytes: UTF-8 with or without BOM or Windows-1252; ";", "," or
// tab between cells (the one that makes a column "Datei" of the first row),
// quoted cells with doubled quotes and line breaks; columns found by their
// header names "Datei", "Titel", "Autor" in any letter case, others ignored.
// A cell a spreadsheet would have taken for a formula and that was written
// with a leading "'" loses it; control characters become spaces.
EntrantList parseEntrantList(std::string_view bytes);

// Where the list of `folder` is looked for, in turn: `Teilnehmer.csv` in
// it, then `<folder name> Teilnehmer.csv` beside it. Whether they exist is
// not asked.
std::vector<std::string> entrantListPaths(const std::string& folder);

// Reads the first list that exists and gives each picture its title and
// author (evaluation.entrants); a listed file that is not in the folder, a
// file listed twice and a list that cannot be read or has no column "Datei"
// are problems. Without a list nothing changes.
void addEntrants(const std::string& folder, Evaluation& evaluation);

} // namespace evaluation
