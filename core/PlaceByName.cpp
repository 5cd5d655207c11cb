#include "core/PlaceByName.h"

#include "core/PictureNames.h"

namespace rating {

std::optional<Placement> placeByName(const Sheet& lines, const std::vector<std::string>& pictures)
{
    const PictureNames names(pictures);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> lineOf(pictures.size(), kNone);
    std::vector<bool> placed(lines.size(), false);
    Placement result;

    // Lines without a name part hold their position first.
    for (std::size_t i = 0; i < lines.size() && i < pictures.size(); ++i)
        if (namePart(lines[i]).empty()) {
            lineOf[i] = i;
            placed[i] = true;
        }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (placed[i] || namePart(lines[i]).empty())
            continue;
        const auto picture = names.pictureNamedBy(lines[i]);
        if (picture && lineOf[*picture] == kNone) {
            lineOf[*picture] = i;
            placed[i] = true;
            result.moved += *picture != i;
        }
    }

    result.sheet.reserve(std::max(lines.size(), pictures.size()));
    for (std::size_t p = 0; p < pictures.size(); ++p) {
        if (lineOf[p] != kNone) {
            result.sheet.push_back(lines[lineOf[p]]);
        } else {
            result.sheet.push_back(newLine(pictures[p]));
            ++result.added;
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!placed[i]) {
            result.sheet.push_back(lines[i]);
            ++result.kept;
        }

    Sheet asLoaded = lines;
    extendToPictures(asLoaded, pictures);
    if (result.sheet == asLoaded)
        return std::nullopt;
    return result;
}

} // namespace rating
