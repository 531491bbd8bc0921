#pragma once

#include "playback/Rounding.h"

#include <optional>

namespace tavlo {

// A channel fader's step: 0 is full level at the top, 85 silence at the
// bottom. A step s plays at -(s x s) hundredths of a dB, so the last steps
// fall fastest, as on a desk.
struct FaderStep {
    static constexpr int kFull = 0;
    static constexpr int kSilent = 85;

    // Hundredths of a dB for `step`.
    static constexpr int volumeOf(int step) { return -(step * step); }

    // The step a ramp's computed level comes to, rounded halves to even;
    // none for a level past either end (the step after silence on a ramp's
    // last tick), which is then not applied.
    static std::optional<int> stepFor(double level)
    {
        if (!(level >= kFull - 0.5 && level <= kSilent + 0.5))
            return std::nullopt;
        return nearestEven(level);
    }
};

}  // namespace tavlo
