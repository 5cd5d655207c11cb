#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <vector>

// The members' pictures a competition is prepared from, and the names they
// get in the competition folder. Plain C++: the window shows and edits it.
namespace evaluation {

struct Entry {
    // Unchecked: not decoded yet; Damaged: libjpeg failed or warned.
    enum class Problem { None, Unreadable, NotJpeg, Damaged, Unchecked };

    std::string source;   // the member's file, never changed
    std::string relative; // below the chosen folder, as shown ("Max/Abend.jpg")
    std::string title;    // UTF-8; default: the file name without extension
    std::string author;   // UTF-8; default: the subfolder's name
    Problem problem = Problem::None;
    bool included = true;
};

// The pictures in `folder` and its subfolders (a subfolder per member):
// files named like pictures, hidden ones left out, in order of their paths.
// A file that cannot be read or is no JPEG is listed with its problem, the
// others as unchecked until they are decoded.
std::vector<Entry> listEntries(const std::string& folder);

// How a file name may carry its author: "Autor - Titel.jpg" or "Titel_Autor.jpg".
enum class NameSplit { AuthorDashTitle, TitleUnderscoreAuthor };

// Title and author taken from the file name where it has that form; the
// others keep theirs. In a member's subfolder the subfolder is the author:
// a name is split only where that part of it is the subfolder's name, and
// then only the title changes. `inSubfoldersOnly` leaves the others alone.
void splitNames(std::vector<Entry>& entries, NameSplit split, bool inSubfoldersOnly = false);

// `title` as a name Windows and Linux can both hold: forbidden characters
// become "_", no leading dot, no trailing dot or space, no device name,
// not too long; never empty.
std::string safeName(const std::string& title);

// A file name for `title` that Windows and Linux can both hold and the
// judging program shows as it is ("&" written "&&"), with ".jpg"; it never
// starts with a character a spreadsheet takes for a formula.
std::string titleFileName(const std::string& title);

// The competition's file names of `count` pictures: "01.jpg" ... in an order
// drawn from `random` when anonymous (as wide as the count needs), else the
// titles' file names.
std::vector<std::string> competitionNames(const std::vector<std::string>& titles, bool anonymous,
                                          std::mt19937& random);

// The positions of titles whose file names would be the same file on
// Windows (letter case ignored); empty when there are none.
std::vector<std::size_t> clashingTitles(const std::vector<std::string>& titles);

} // namespace evaluation
