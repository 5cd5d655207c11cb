#pragma once

#include "evaluation/ranking/Report.h"

#include <cstddef>
#include <string>
#include <vector>

// What a presentation shows, step by step: plain C++, worked out once from
// the folder before the window opens.
namespace evaluation::present {

struct Step {
    std::size_t position = 0;      // in Show::pictures
    std::vector<std::string> band; // the lines under the picture; none: the picture alone
};

struct Show {
    std::vector<std::size_t> pictures; // in the order shown: each a position in file order
    std::vector<Step> steps;           // each step shows a picture, consecutive ones in turn
    std::size_t bandLines = 0;         // the most lines of any band: the room kept under
                                       // every picture, so that no picture moves
};

// The judging round: every picture in the folder's order, each with its
// number (from 1) only.
Show roundShow(std::size_t pictureCount);

// The announcement: the placed pictures from the last place up to place 1,
// each first alone, then with its place ("Platz 3 (geteilt)" when shared)
// and mean, and its title and author. `places` above 0: only places up to
// it (a shared place counts whole). Pictures without a place never appear.
Show announcementShow(const Report& report, int places = 0);

// What a presentation of a folder needs: the pictures' file names (bytes,
// in file order) and the show, or why there is none.
struct Presentation {
    std::vector<std::string> pictures;
    Show show;
    std::string problem; // German, for the organiser; empty when the show can start
};

// Reads the folder: the round needs the pictures only; the announcement
// the ranking, with the judging program's own readers.
Presentation readPresentation(const std::string& folder, bool round, int places = 0);

} // namespace evaluation::present
