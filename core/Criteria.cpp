#include "core/Criteria.h"

#include <algorithm>

std::string layoutCaption(int criterion)
{
    static constexpr char kGroupLetters[] = {'W', 'T', 'B'};
    return std::string(" ") + kGroupLetters[criterion / kCriteriaPerGroup] +
           std::to_string(criterion % kCriteriaPerGroup + 1);
}

bool ScoreBoard::assign(int criterion, int position)
{
    Slider& slider = sliders_.at(criterion);
    const int clamped = std::clamp(position, 0, slider.maximum);
    if (clamped == slider.position)
        return false;
    slider.position = clamped;
    return true;
}

void ScoreBoard::setMaximum(int criterion, int maximum)
{
    sliders_.at(criterion).maximum = std::max(maximum, 0);
    if (assign(criterion, position(criterion)) && onChange_)
        onChange_();
}

void ScoreBoard::setPosition(int criterion, int position)
{
    if (assign(criterion, position) && onChange_)
        onChange_();
}

void ScoreBoard::operate(int criterion, int position)
{
    assign(criterion, position);
    if (onChange_)
        onChange_();
}

int ScoreBoard::groupSum(Group group) const
{
    int sum = 0;
    for (int n = 0; n < kCriterionCount; ++n)
        sum += groupOf(n) == group ? position(n) : 0;
    return sum;
}

int ScoreBoard::groupMaximum(Group group) const
{
    int sum = 0;
    for (int n = 0; n < kCriterionCount; ++n)
        sum += groupOf(n) == group ? maximum(n) : 0;
    return sum;
}
