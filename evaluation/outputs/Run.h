#pragma once

#include "evaluation/outputs/Cancel.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Report.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace evaluation {

enum ExitCode { kDone = 0, kInputProblem = 1, kUsage = 2 };

struct RunOptions {
    bool declareFinal = false; // --endgueltig: declare the ranking final, as of today
    std::string place;         // --ausgabe: where the organiser's files go; "": beside the folder
};

// The whole evaluation of a folder: reads it, writes the three files beside
// it (or into `options.place`, never into the folder), prints the table to
// `out` and every problem and stop message to `err`. Where the place cannot
// be written it says so and writes nothing. Needs a QGuiApplication.
int evaluate(const std::string& folder, std::ostream& out, std::ostream& err,
             const RunOptions& options = {});

// Today as the outputs print it, "08.12.2026".
std::string today();

// Where a file written beside a folder lies, as shown: its folder's real path.
std::string shownFolderOf(const std::string& path);

struct OutputFile {
    std::string path;
    std::string failure;   // the message when it could not be written
    bool heldOpen = false; // by another program: worth trying again once it lets go
};

// "<Ordner> Rangliste.csv", ".pdf" and ".html" beside the folder (in
// `place` when one is given), written together: all
// three are renamed into place only when each was written. On a failure the
// one that failed carries its failure text, each other one either "kept as
// it was" or, when it was renamed into place before the failure, none (it
// is new). thumbnails[i] belongs to picture i in file order (the store's
// findAll); their JPEGs are used as they are. A `cancel` is looked at
// before each file is made and before the renames: when cancelled nothing
// is written and nothing returned. Safe on any thread while a
// QGuiApplication exists.
std::vector<OutputFile> writeOutputs(const std::string& folder, const Report& report,
                                     const std::vector<const Thumbnail*>& thumbnails,
                                     Cancel* cancel = nullptr, const std::string& place = {});

} // namespace evaluation
