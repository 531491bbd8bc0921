#pragma once

#include <optional>

namespace tavlo {

// How a song change (and a break's ramps) moves the two faders. The numbers
// are the ones the settings store and the option buttons' order.
enum class TransitionType {
    CrossDissolve = 0,  // one fader down while the other comes up
    UpDown = 1,         // the new sound up first, then the old one down
    DownUp = 2,         // the old sound down first, then the new one up
    Mix = 3,            // both at their levels until the old one stops
    Cut = 4,            // the old one off, the new one on, at once
};

inline constexpr int kTransitionTypeCount = 5;

inline constexpr int toInt(TransitionType t) { return static_cast<int>(t); }

// The type stored as `n`; none when it is out of range.
inline constexpr std::optional<TransitionType> transitionTypeFromInt(int n)
{
    if (n < 0 || n >= kTransitionTypeCount)
        return std::nullopt;
    return static_cast<TransitionType>(n);
}

// The type's name, as its button's tip shows it.
inline const char* transitionName(TransitionType t)
{
    switch (t) {
    case TransitionType::CrossDissolve: return "Cross Dissolve";
    case TransitionType::UpDown: return "Up Down";
    case TransitionType::DownUp: return "Down  Up";
    case TransitionType::Mix: return "Mix";
    case TransitionType::Cut: return "Cut";
    }
    return "";
}

// Whether the two sounds overlap for the whole transition time, which
// "Calculate Total" takes off the list's length at every change.
inline constexpr bool overlapsWholeTime(TransitionType t)
{
    return t == TransitionType::CrossDissolve || t == TransitionType::UpDown || t == TransitionType::Mix;
}

}  // namespace tavlo
