#include "core/PictureNames.h"

#include "core/Criteria.h"

#include <algorithm>
#include <utility>

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

PictureNames::PictureNames(const std::vector<std::string>& pictures, NameKey key)
    : key_(std::move(key))
{
    positions_.reserve(pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i)
        positions_.emplace(writtenName(pictures[i]), i); // keeps the first of two alike
}

NameMatch PictureNames::match(std::string_view line) const
{
    const std::string_view name = namePart(line);
    if (name.empty())
        return {};
    const auto found = positions_.find(std::string(name));
    if (found != positions_.end())
        return {found->second, {}};
    if (!byKey_) {
        byKey_.emplace();
        for (const auto& [written, position] : positions_)
            (*byKey_)[key_(written)].push_back(position);
        for (auto& [unused, positions] : *byKey_)
            std::sort(positions.begin(), positions.end());
    }
    const auto loose = byKey_->find(key_(name));
    if (loose == byKey_->end())
        return {};
    if (loose->second.size() > 1)
        return {std::nullopt, loose->second};
    return {loose->second.front(), {}};
}

} // namespace rating
