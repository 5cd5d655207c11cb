#pragma once

#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Report.h"

#include <string>
#include <vector>

namespace evaluation {

// Rangliste.html for the club's website: one self-contained UTF-8 file
// (inline CSS, thumbnails as data: URIs, no script, nothing loaded from
// elsewhere), German, a real table with header cells, every image with its
// title as alt text, the provisional note when it applies; public: no
// judge's name, no per-judge points, no problems (the mean over the judges
// who rated and the three group means only); a table on a
// desktop, a card per picture on a phone, printable. thumbnails[i] belongs
// to picture i in file order, its pageJpeg shown as it is; a null or
// missing one shows no image.
std::string rankingHtml(const Report& report, const std::vector<const Thumbnail*>& thumbnails,
                        const Heading& heading);

// Text for a page: & < > " escaped, control characters left out.
std::string htmlEscaped(const std::string& text);

} // namespace evaluation
