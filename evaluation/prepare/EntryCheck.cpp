#include "evaluation/prepare/EntryCheck.h"

#include "evaluation/Tunables.h"

namespace evaluation {

CheckedPicture checkPicture(const std::string& path, int side)
{
    CheckedPicture checked;
    checked.thumbnail = readThumbnail(path, side);
    checked.problem = checked.thumbnail.ok && !checked.thumbnail.damaged ? Entry::Problem::None
                                                                         : Entry::Problem::Damaged;
    return checked;
}

void checkEntries(std::vector<Entry>& entries)
{
    parallelFor(entries.size(), [&](std::size_t i) {
        if (entries[i].problem == Entry::Problem::Unchecked)
            entries[i].problem =
                checkPicture(entries[i].source, tunables::kEntryThumbnailSide).problem;
    });
}

} // namespace evaluation
