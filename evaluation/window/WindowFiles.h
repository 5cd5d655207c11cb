#pragma once

#include "evaluation/outputs/Thumbnails.h"

#include <QImage>

#include <map>
#include <string>
#include <vector>

// What the window knows about the folder's files between two readings.
namespace evaluation {

struct InputFile {
    std::string name; // bytes, without folder
    FileStamp stamp;

    bool operator==(const InputFile&) const = default;
};

// The files the ranking depends on (pictures, rating files, Qel.max) in
// byte order of their names, then the entrant list where there is one
// ("Teilnehmer.csv", "../<Ordner> Teilnehmer.csv") and the organiser's
// decisions ("../<Ordner> Entscheidungen.txt"); the outputs and
// temporary files are not among them, so writing the outputs changes
// nothing here.
std::vector<InputFile> rankingInputs(const std::string& folder);

// The table's small thumbnails, made again only for a picture that changed.
class TableThumbnails {
  public:
    // The small image of picture `name` from its stored thumbnail (none: null).
    QImage get(const std::string& folder, const std::string& name, const Thumbnail* thumbnail);
    // Forgets the pictures no longer in the folder.
    void keepOnly(const std::vector<std::string>& names);

  private:
    struct Entry {
        FileStamp stamp;
        QImage small;
    };
    std::map<std::string, Entry> entries_;
};

} // namespace evaluation
