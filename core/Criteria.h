#pragma once

#include <array>
#include <functional>
#include <string>

// The fifteen criteria in their fixed order W1..W5, T1..T5, B1..B5; line n
// of the weighting file and digit n of a rating line belong to the n-th.
constexpr int kCriterionCount = 15;
constexpr int kCriteriaPerGroup = 5;

enum class Group { Wirkung, Technik, Gestaltung };

// The group of criterion n: five each, in table order.
constexpr Group groupOf(int criterion)
{
    return static_cast<Group>(criterion / kCriteriaPerGroup);
}

// " W1" ... " B5": the row captions before the weighting file is applied.
std::string layoutCaption(int criterion);

// The fifteen sliders: maximum 0..9 and position 0..maximum each. Like a
// track bar, a programmatic set reports a change only when the clamped
// position really changes; the judge's own operation always reports.
class ScoreBoard {
  public:
    using ChangeHandler = std::function<void()>;

    void setChangeHandler(ChangeHandler handler) { onChange_ = std::move(handler); }

    int maximum(int criterion) const { return sliders_.at(criterion).maximum; }
    int position(int criterion) const { return sliders_.at(criterion).position; }

    void setMaximum(int criterion, int maximum);
    void setPosition(int criterion, int position);
    void operate(int criterion, int position);

    int groupSum(Group group) const;
    int groupMaximum(Group group) const;

  private:
    struct Slider {
        int maximum = 0;
        int position = 0;
    };
    bool assign(int criterion, int position);

    std::array<Slider, kCriterionCount> sliders_{};
    ChangeHandler onChange_;
};
