#include "evaluation/window/WindowFiles.h"

#include "core/FolderListing.h"
#include "core/Weighting.h"
#include "evaluation/Tunables.h"
#include "evaluation/outputs/Thumbnails.h"
#include "evaluation/ranking/Entrants.h"
#include "evaluation/ranking/Folder.h"

#include <algorithm>
#include <set>

namespace evaluation {

std::vector<InputFile> rankingInputs(const std::string& folder)
{
    std::vector<InputFile> inputs;
    const auto input = [](std::string_view name) {
        return folderlisting::isPictureName(name) ||
               folderlisting::hasExtension(name, {".qel", ".max"});
    };
    for (std::string& name : folderlisting::regularFiles(folder, input))
        if (!folderlisting::hasExtension(name, {".max"}) || name == kWeightingFileName) {
            FileStamp stamp = stampOf(pathIn(folder, name));
            inputs.push_back({std::move(name), stamp});
        }
    std::sort(inputs.begin(), inputs.end(),
              [](const InputFile& a, const InputFile& b) { return a.name < b.name; });
    // The entrant list, in the folder or beside it: named by its path from the folder.
    const std::size_t prefix = pathIn(folder, "").size();
    std::vector<std::string> beside = entrantListPaths(folder);
    if (const auto decisions = organiserFile(folder, kDecisionsName))
        beside.push_back(*decisions);
    for (const std::string& path : beside)
        if (const FileStamp stamp = stampOf(path); stamp.size >= 0)
            inputs.push_back({path.substr(prefix), stamp});
    return inputs;
}

QImage TableThumbnails::get(const std::string& folder, const std::string& name,
                            const Thumbnail* thumbnail)
{
    const FileStamp stamp = stampOf(pathIn(folder, name));
    const auto found = entries_.find(name);
    if (found != entries_.end() && found->second.stamp == stamp)
        return found->second.small;
    if (thumbnail && thumbnail->pixels.empty() && !thumbnail->pageJpeg.empty()) {
        // Only the JPEGs are stored: decoded straight to the small size
        // (libjpeg scales while decoding), a fraction of a full decode.
        QImage small = decodedJpeg(thumbnail->pageJpeg, tunables::kTableThumbnailSide);
        entries_.insert_or_assign(name, Entry{stamp, small});
        return small;
    }
    // The stored pixels are wrapped, not copied: only a changed picture costs.
    const QImage image = thumbnailView(thumbnail);
    QImage small = image.isNull()
                       ? QImage()
                       : image.scaled(tunables::kTableThumbnailSide, tunables::kTableThumbnailSide,
                                      Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (!small.isNull() && small.constBits() == image.constBits())
        small = small.copy(); // the size it had: still the store's pixels
    entries_.insert_or_assign(name, Entry{stamp, small});
    return small;
}

void TableThumbnails::keepOnly(const std::vector<std::string>& names)
{
    const std::set<std::string> kept(names.begin(), names.end());
    std::erase_if(entries_, [&](const auto& entry) { return !kept.contains(entry.first); });
}

} // namespace evaluation
