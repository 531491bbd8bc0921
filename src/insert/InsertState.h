#pragma once

namespace tavlo {

// Where a break stands between "Prepare Insert" and the music's fade-out.
enum class InsertState {
    Idle,            // no break prepared, or its insert-in ramp is over
    WaitingForSong,  // prepared to start when the music's song ends
    Starting,        // "Insert Now" ran: the insert-in ramp moves the faders
};

}  // namespace tavlo
