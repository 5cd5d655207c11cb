#include "core/PictureNames.h"

#include "core/Criteria.h"

#include <algorithm>

namespace rating {

namespace {
constexpr std::size_t kNameStart = kCriterionCount + 1; // the digits and "-"
} // namespace

std::string_view namePart(std::string_view line)
{
    return line.size() > kNameStart ? line.substr(kNameStart) : std::string_view();
}

std::string writtenName(std::string_view pictureName)
{
    std::string name(pictureName);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, '?');
    return name;
}

PictureNames::PictureNames(const std::vector<std::string>& pictures)
{
    positions_.reserve(pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i)
        positions_.emplace(writtenName(pictures[i]), i); // keeps the first of two alike
}

std::optional<std::size_t> PictureNames::pictureNamedBy(std::string_view line) const
{
    const std::string_view name = namePart(line);
    if (name.empty())
        return std::nullopt;
    const auto found = positions_.find(std::string(name));
    if (found == positions_.end())
        return std::nullopt;
    return found->second;
}

} // namespace rating
