#pragma once

namespace tavlo {

// Where a break stood when the station last kept its state: what a restart
// puts back. A ramp under way is kept as where it leads.
enum class BreakStep {
    None,            // no break: the music has the air
    CountingDown,    // prepared, its countdown running
    WaitingForSong,  // prepared, waiting for the music's song to end
    OnAir,           // the insert window plays (the insert-in ramp counts as done)
};

struct BreakState {
    BreakStep step = BreakStep::None;
    int countDown = 0;           // seconds left, while CountingDown
    bool playOverMusic = false;  // "Play Ads Over Music", which the list's name may have set

    bool operator==(const BreakState&) const = default;
};

}  // namespace tavlo
