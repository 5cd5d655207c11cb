#include "core/PlaceByName.h"

#include "core/PictureNames.h"

namespace rating {

std::optional<Placement> placeByName(const Sheet& lines, const std::vector<std::string>& pictures,
                                     const NameKey& key)
{
    const PictureNames names(pictures, key);
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
    std::vector<bool> alike(lines.size(), false);
    std::vector<bool> twice(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (placed[i] || namePart(lines[i]).empty())
            continue;
        const NameMatch match = names.match(lines[i]);
        alike[i] = !match.alike.empty();
        const auto& picture = match.picture;
        if (picture && lineOf[*picture] == kNone) {
            lineOf[*picture] = i;
            placed[i] = true;
            result.moved += *picture != i;
        } else {
            twice[i] = picture.has_value();
        }
    }

    result.sheet.reserve(std::max(lines.size(), pictures.size()));
    for (std::size_t p = 0; p < pictures.size(); ++p) {
        if (lineOf[p] != kNone) {
            result.sheet.push_back(lines[lineOf[p]]);
        } else {
            result.sheet.push_back(newLine(pictures[p]));
            ++result.added;
            result.addedPictures.push_back(p);
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!placed[i]) {
            result.sheet.push_back(lines[i]);
            ++result.kept;
            result.keptLines.push_back(i);
            if (alike[i])
                result.alikeLines.push_back(i);
            if (twice[i])
                result.twiceLines.push_back(i);
        }

    Sheet asLoaded = lines;
    extendToPictures(asLoaded, pictures);
    if (result.sheet == asLoaded)
        return std::nullopt;
    return result;
}

} // namespace rating
