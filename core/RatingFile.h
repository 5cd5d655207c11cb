#pragma once

#include "core/RatingSheet.h"

#include <optional>
#include <string>

// Rating files "<judge name>.qel" in the working folder.
namespace ratingfile {

inline constexpr char kExtension[] = ".qel";

// The judge name a chosen file stands for: its own name without folder and
// without its last four characters (its ".qel").
std::string judgeNameFromPath(const std::string& chosenPath);

// The file a judge name is saved to, or nothing for a name that would leave
// the working folder. The name is used unchanged otherwise.
std::optional<std::string> fileNameForJudge(const std::string& judgeName);

// Why fileNameForJudge gives nothing, as a sentence for the judge (UTF-8);
// empty when it gives a file.
std::string nameRefusal(const std::string& judgeName);

// The file a path stands for, however it is spelt (absolute, links
// resolved); empty when it does not exist or that cannot be worked out.
std::string fileIdentity(const std::string& path);

// Saving to `fileName` asks first when the file exists and is not the one
// this sheet was loaded from or saved to (`sheetFile`, a fileIdentity).
bool asksBeforeOverwriting(const std::string& fileName, const std::string& sheetFile);

// Writes the sheet without ever destroying the previous file. False on failure.
bool save(const std::string& judgeName, const rating::Sheet& sheet);

// The lines of a rating file, or nothing when it cannot be opened or read.
std::optional<rating::Sheet> load(const std::string& path);

} // namespace ratingfile
