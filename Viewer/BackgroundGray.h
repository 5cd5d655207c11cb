#pragma once

#include <cstdint>

// The background grey level set by the up-down control "Hintergrund".
namespace background {

// The control's positions run 0..kGraySteps.
inline constexpr int kGraySteps = 16;

// Equal steps over 0..256; the top step would be 256, so it is clipped to white.
inline constexpr int kGrayStepSize = 256 / kGraySteps;
inline constexpr int kWhite = 255;

constexpr std::uint8_t grayLevel(int position)
{
    return static_cast<std::uint8_t>(position >= kGraySteps ? kWhite : position * kGrayStepSize);
}

} // namespace background
