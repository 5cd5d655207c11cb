#pragma once

#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Preparation.h"

#include <string>
#include <vector>

// Whether a member's picture may be taken: decoded completely, scaled, off
// the window's thread and within the process's decode budget, as the
// judging program would. A file libjpeg warns about or fails on is damaged.
namespace evaluation {

struct CheckedPicture {
    Entry::Problem problem = Entry::Problem::Unchecked;
    Thumbnail thumbnail; // its longer side at most the given side
};

CheckedPicture checkPicture(const std::string& path, int side);

// The unchecked entries checked on all cores.
void checkEntries(std::vector<Entry>& entries);

} // namespace evaluation
