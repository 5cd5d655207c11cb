#pragma once

#include <chrono>

// Work done in slices between events: each slice runs until its deadline,
// checking the clock every few rows or every portion of input.
namespace pictures {

using SliceClock = std::chrono::steady_clock;
using Deadline = SliceClock::time_point;

inline constexpr Deadline kNoDeadline = Deadline::max();

inline Deadline deadlineAfter(std::chrono::microseconds budget)
{
    const Deadline now = SliceClock::now();
    if (budget >= std::chrono::duration_cast<std::chrono::microseconds>(kNoDeadline - now))
        return kNoDeadline;
    return now + budget;
}

} // namespace pictures
