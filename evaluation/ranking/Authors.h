#pragma once

#include "evaluation/ranking/Evaluation.h"

#include <string>
#include <vector>

// The authors' ranking ("Autorenwertung") and the club rule that a judge
// does not score their own pictures. Plain C++.
namespace evaluation {

// A sum of means, exact: means over different numbers of judges never
// meet in a rounding.
struct Points {
    long long numerator = 0;
    long long denominator = 1;
};
Points operator+(Points a, Points b);
// Negative, zero or positive as a is below, equal to or above b.
int compare(Points a, Points b);
std::string pointsText(Points points); // "37,5"

// A placed picture of an author.
struct AuthorPicture {
    std::string author; // as the entrant list writes it
    Points mean;
    int place = 0; // the picture's place in the competition
};

struct AuthorRow {
    int place = 0;      // 1, 2, 2, 4
    std::string rank;   // "2."
    std::string author; // as first written
    std::string key;    // the name key the author is matched by
    int pictures = 0;
    Points sum, best;
    std::string sumText = {}, bestText = {}; // "6,0"
};

// Same key, same author: decoded, NFC, case folded and trimmed, so
// "anna berg " is "Anna Berg".
std::string authorKey(const std::string& name);

// Per author the placed pictures, the sum of their means and the best
// single mean; by the sum, then the best picture (higher first); equal in
// both, a shared place. Pictures without an author are left out.
std::vector<AuthorRow> rankAuthors(const std::vector<AuthorPicture>& pictures);

// The common club rule: a judge whose file name is an author's name (by
// authorKey) does not score that author's pictures. Their lines there stop
// counting, without making the ranking provisional or the judge short;
// ownPicturesLeftOut names each such author once. Needs the entrants.
void leaveOutOwnPictures(Evaluation& evaluation);

} // namespace evaluation
